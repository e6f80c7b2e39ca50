// The simulated host's pictures of drawing objects and cells: an enhanced metafile and a
// 24-bit bitmap of the same content, as Shape.CopyPicture and Selection.Copy put them on
// the clipboard.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/picture/raster.h"
#include "core/platform/platform.h"
#include "sim/model.h"
#include "sim/picture_hook.h"

namespace qm::sim {

// Every line is the host's default hairline, 0.75 pt (one pixel at 96 dpi).
inline constexpr double kLineWidthPoints = 0.75;
// Pictures larger than this (either side in pixels, or their area) are not made: copying
// the whole sheet as a picture gives no picture, as the host refuses too large ones.
inline constexpr int32_t kMaxPictureSide = 32767;
inline constexpr int64_t kMaxPicturePixels = int64_t{4096} * 4096;

// Cell sizes at 96 dpi. A column `w` characters wide is w x 7 + 5 pixels (7 pixels the
// widest digit of the standard 10-point font, 5 pixels of margins and gridline), and
// w x 12 pixels below one character; the standard 8.43 is 64 pixels (48 points). Row
// heights are in points: 12.75 points are 17 pixels.
int32_t columnPixels(double widthInCharacters);
int32_t rowPixels(double heightInPoints);

// The outline of one drawing object in sheet points, before rotation: an AutoShape's
// geometry (rectangles, ovals and the first twelve basic shapes; other types show as
// their frame), a line from the top-left to the bottom-right corner, a freeform's path
// (see freeformFigure), and the frame of every other kind.
picture::Figure outlineOf(const DrawingObject& object);

// A freeform's nodes as one figure. The first node starts it; then each node of a line
// segment is one vertex, and three consecutive nodes of a curve segment are the two
// control points and the end of a cubic Bézier (curve nodes without two more curve nodes
// after them count as vertices). When the last node lies on the first, the figure is
// closed (and filled); otherwise it is an open line.
picture::Figure freeformFigure(const std::vector<PathNode>& nodes);

// How the metafile draws one shape of a scene: unrotated rectangles and ovals as
// RECTANGLE and ELLIPSE records of their box (in points), everything else as its path.
enum class Primitive { Path, Rectangle, Ellipse };

struct ShapePrimitive {
    Primitive kind = Primitive::Path;
    double left = 0;  // the box, for rectangles and ellipses
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// One line of text of a scene's shape, with its top-left corner in sheet points, turned
// `angle` degrees clockwise about that corner.
struct TextLine {
    size_t shape = 0;  // drawn right after this shape, below the shapes in front of it
    picture::PointF at;
    std::string text;
    double angle = 0;
};

struct ShapeDrawing {
    picture::Scene scene;                     // what both pictures show
    std::vector<ShapePrimitive> primitives;   // one per scene shape
    std::vector<TextLine> text;               // metafile only
};

// The drawing of the given objects: visible objects only (group members too), each
// rotated about its centre (and a group's members also about the group's), back to front
// as they lie on the sheet (members in their group's order); the picture covers the union of
// their rotated frames, grown by half the line width where a line is drawn. Each object's
// text goes with it, turned with the object. Nothing when no object is visible.
std::optional<ShapeDrawing> drawShapes(const std::vector<DrawingObjectPtr>& objects);

// The drawing as an EMF file, one logical unit per pixel.
std::vector<uint8_t> toEmf(const ShapeDrawing& drawing);

// The pictures for a copy: the EMF (format 14) and then the BMP (format 2) of the copied
// objects or cells; none when nothing visible is copied or the picture would be too large.
// Cells show white with the sheet's gridlines when it displays them, and in the EMF each
// cell's text; the bitmap carries no text.
std::vector<platform::Picture> renderPictures(const RenderRequest& request);

}  // namespace qm::sim
