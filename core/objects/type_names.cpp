// Shape kind texts.
#include "core/objects/type_names.h"

#include <algorithm>
#include <iterator>

namespace qm::objects {
namespace {

struct AutoShapeName {
    int32_t code;
    const char* name;
};

// Five names are cut at 33 characters and are shown so.
constexpr AutoShapeName kAutoShapes[] = {
    {-2, "ShapeMixed"},
    {1, "ShapeRectangle"},
    {2, "ShapeParallelogram"},
    {3, "ShapeTrapezoid"},
    {4, "ShapeDiamond"},
    {5, "ShapeRoundedRectangle"},
    {6, "ShapeOctagon"},
    {7, "ShapeIsoscelesTriangle"},
    {8, "ShapeRightTriangle"},
    {9, "ShapeOval"},
    {10, "ShapeHexagon"},
    {11, "ShapeCross"},
    {12, "ShapeRegularPentagon"},
    {13, "ShapeCan"},
    {14, "ShapeCube"},
    {15, "ShapeBevel"},
    {16, "ShapeFoldedCorner"},
    {17, "ShapeSmileyFace"},
    {18, "ShapeDonut"},
    {19, "ShapeNoSymbol"},
    {20, "ShapeBlockArc"},
    {21, "ShapeHeart"},
    {22, "ShapeLightningBolt"},
    {23, "ShapeSun"},
    {24, "ShapeMoon"},
    {25, "ShapeArc"},
    {26, "ShapeDoubleBracket"},
    {27, "ShapeDoubleBrace"},
    {28, "ShapePlaque"},
    {29, "ShapeLeftBracket"},
    {30, "ShapeRightBracket"},
    {31, "ShapeLeftBrace"},
    {32, "ShapeRightBrace"},
    {33, "ShapeRightArrow"},
    {34, "ShapeLeftArrow"},
    {35, "ShapeUpArrow"},
    {36, "ShapeDownArrow"},
    {37, "ShapeLeftRightArrow"},
    {38, "ShapeUpDownArrow"},
    {39, "ShapeQuadArrow"},
    {40, "ShapeLeftRightUpArrow"},
    {41, "ShapeBentArrow"},
    {42, "ShapeUTurnArrow"},
    {43, "ShapeLeftUpArrow"},
    {44, "ShapeBentUpArrow"},
    {45, "ShapeCurvedRightArrow"},
    {46, "ShapeCurvedLeftArrow"},
    {47, "ShapeCurvedUpArrow"},
    {48, "ShapeCurvedDownArrow"},
    {49, "ShapeStripedRightArrow"},
    {50, "ShapeNotchedRightArrow"},
    {51, "ShapePentagon"},
    {52, "ShapeChevron"},
    {53, "ShapeRightArrowCallout"},
    {54, "ShapeLeftArrowCallout"},
    {55, "ShapeUpArrowCallout"},
    {56, "ShapeDownArrowCallout"},
    {57, "ShapeLeftRightArrowCallout"},
    {58, "ShapeUpDownArrowCallout"},
    {59, "ShapeQuadArrowCallout"},
    {60, "ShapeCircularArrow"},
    {61, "ShapeFlowchartProcess"},
    {62, "ShapeFlowchartAlternateProcess"},
    {63, "ShapeFlowchartDecision"},
    {64, "ShapeFlowchartData"},
    {65, "ShapeFlowchartPredefinedProcess"},
    {66, "ShapeFlowchartInternalStorage"},
    {67, "ShapeFlowchartDocument"},
    {68, "ShapeFlowchartMultidocument"},
    {69, "ShapeFlowchartTerminator"},
    {70, "ShapeFlowchartPreparation"},
    {71, "ShapeFlowchartManualInput"},
    {72, "ShapeFlowchartManualOperation"},
    {73, "ShapeFlowchartConnector"},
    {74, "ShapeFlowchartOffpageConnector"},
    {75, "ShapeFlowchartCard"},
    {76, "ShapeFlowchartPunchedTape"},
    {77, "ShapeFlowchartSummingJunction"},
    {78, "ShapeFlowchartOr"},
    {79, "ShapeFlowchartCollate"},
    {80, "ShapeFlowchartSort"},
    {81, "ShapeFlowchartExtract"},
    {82, "ShapeFlowchartMerge"},
    {83, "ShapeFlowchartStoredData"},
    {84, "ShapeFlowchartDelay"},
    {85, "ShapeFlowchartSequentialAccessSto"},
    {86, "ShapeFlowchartMagneticDisk"},
    {87, "ShapeFlowchartDirectAccessStorage"},
    {88, "ShapeFlowchartDisplay"},
    {89, "ShapeExplosion1"},
    {90, "ShapeExplosion2"},
    {91, "Shape4pointStar"},
    {92, "Shape5pointStar"},
    {93, "Shape8pointStar"},
    {94, "Shape16pointStar"},
    {95, "Shape24pointStar"},
    {96, "Shape32pointStar"},
    {97, "ShapeUpRibbon"},
    {98, "ShapeDownRibbon"},
    {99, "ShapeCurvedUpRibbon"},
    {100, "ShapeCurvedDownRibbon"},
    {101, "ShapeVerticalScroll"},
    {102, "ShapeHorizontalScroll"},
    {103, "ShapeWave"},
    {104, "ShapeDoubleWave"},
    {105, "ShapeRectangularCallout"},
    {106, "ShapeRoundedRectangularCallout"},
    {107, "ShapeOvalCallout"},
    {108, "ShapeCloudCallout"},
    {109, "ShapeLineCallout1"},
    {110, "ShapeLineCallout2"},
    {111, "ShapeLineCallout3"},
    {112, "ShapeLineCallout4"},
    {113, "ShapeLineCallout1AccentBar"},
    {114, "ShapeLineCallout2AccentBar"},
    {115, "ShapeLineCallout3AccentBar"},
    {116, "ShapeLineCallout4AccentBar"},
    {117, "ShapeLineCallout1NoBorder"},
    {118, "ShapeLineCallout2NoBorder"},
    {119, "ShapeLineCallout3NoBorder"},
    {120, "ShapeLineCallout4NoBorder"},
    {121, "ShapeLineCallout1BorderandAccentB"},
    {122, "ShapeLineCallout2BorderandAccentB"},
    {123, "ShapeLineCallout3BorderandAccentB"},
    {124, "ShapeLineCallout4BorderandAccentB"},
    {125, "ShapeActionButtonCustom"},
    {126, "ShapeActionButtonHome"},
    {127, "ShapeActionButtonHelp"},
    {128, "ShapeActionButtonInformation"},
    {129, "ShapeActionButtonBackorPrevious"},
    {130, "ShapeActionButtonForwardorNext"},
    {131, "ShapeActionButtonBeginning"},
    {132, "ShapeActionButtonEnd"},
    {133, "ShapeActionButtonReturn"},
    {134, "ShapeActionButtonDocument"},
    {135, "ShapeActionButtonSound"},
    {136, "ShapeActionButtonMovie"},
    {137, "ShapeBalloon"},
    {138, "ShapeNotPrimitive"},
};

}  // namespace

std::string getAutoShapeTypeName(int32_t autoShapeType) {
    auto it = std::lower_bound(std::begin(kAutoShapes), std::end(kAutoShapes), autoShapeType,
                               [](const AutoShapeName& e, int32_t c) { return e.code < c; });
    if (it != std::end(kAutoShapes) && it->code == autoShapeType) return it->name;
    return "Unknown AutoShape(" + std::to_string(autoShapeType) + ")";
}

std::string getShapeTypeName(host::Shape& shape) {
    switch (shape.type()) {
        case -2: return "ShapeTypeMixed";
        case 1: return getAutoShapeTypeName(shape.autoShapeType());
        case 2: return "Callout";
        case 5: return "Freeform";
        case 6: return "Group";
        case 7: return "EmbeddedOLEObject";
        case 9: return "Line";
        case 10: return "LinkedOLEObject";
        case 11: return "LinkedPicture";
        case 13: return "Picture";
        case 14: return "Placeholder";
        case 15: return "TextEffect";
        case 16: return "Media";
        case 17: return "TextBox";
        default: return "Unknown(" + std::to_string(shape.type()) + ")";
    }
}

}  // namespace qm::objects
