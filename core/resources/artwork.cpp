// Lookup of embedded pictures.
#include "core/resources/artwork.h"

namespace qm::resources {

extern const EmbeddedFile kEmbedded[];
extern const size_t kEmbeddedCount;

std::vector<uint8_t> bitmap(int id) {
    for (size_t i = 0; i < kEmbeddedCount; ++i) {
        if (kEmbedded[i].id == id) return {kEmbedded[i].data, kEmbedded[i].data + kEmbedded[i].size};
    }
    return {};
}

}  // namespace qm::resources
