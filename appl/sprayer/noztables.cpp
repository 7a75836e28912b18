#include "noztables.h"

#include <cstring>

namespace {

constexpr float U = kNozzleBoundaryUnset;

// family, size code, designation, short name, word, pressure range (bar), flows at its ends (l/min),
// reference pressure (bar) and flow (l/min), class boundaries b1..b8 (bar), reserved.
constexpr NozzleCatalogueRecord kCatalogue[] = {
    {1, 15, "QF110-015", "QF015", 0, 1.0f, 5.0f, 0.3464f, 0.7746f, 3.0f, 0.6f, {U, U, 3.5f, 2.0f, 1.0f, U, U, U}, 0},
    {1, 2, "QF110-02", "QF02", 0, 1.0f, 5.0f, 0.4619f, 1.0328f, 3.0f, 0.8f, {U, U, 3.5f, 2.0f, 1.0f, U, U, U}, 0},
    {1, 25, "QF110-025", "QF025", 0, 1.0f, 5.0f, 0.5774f, 1.291f, 3.0f, 1.0f, {U, U, 3.5f, 2.0f, 1.0f, U, U, U}, 0},
    {1, 3, "QF110-03", "QF03", 0, 1.0f, 5.0f, 0.6928f, 1.5492f, 3.0f, 1.2f, {U, U, 3.5f, 2.0f, 1.0f, U, U, U}, 0},
    {1, 4, "QF110-04", "QF04", 0, 1.0f, 5.0f, 0.9238f, 2.0656f, 3.0f, 1.6f, {U, U, 3.5f, 2.0f, 1.0f, U, U, U}, 0},
    {1, 5, "QF110-05", "QF05", 0, 1.0f, 5.0f, 1.1547f, 2.582f, 3.0f, 2.0f, {U, U, 3.5f, 2.0f, 1.0f, U, U, U}, 0},
    {1, 6, "QF110-06", "QF06", 0, 1.0f, 5.0f, 1.3856f, 3.0984f, 3.0f, 2.4f, {U, U, 3.5f, 2.0f, 1.0f, U, U, U}, 0},
    {2, 15, "QL110-015", "QL015", 0, 1.5f, 6.0f, 0.4243f, 0.8485f, 3.0f, 0.6f, {U, U, U, 4.5f, 2.5f, 1.5f, U, U}, 0},
    {2, 2, "QL110-02", "QL02", 0, 1.5f, 6.0f, 0.5657f, 1.1314f, 3.0f, 0.8f, {U, U, U, 4.5f, 2.5f, 1.5f, U, U}, 0},
    {2, 25, "QL110-025", "QL025", 0, 1.5f, 6.0f, 0.7071f, 1.4142f, 3.0f, 1.0f, {U, U, U, 4.5f, 2.5f, 1.5f, U, U}, 0},
    {2, 3, "QL110-03", "QL03", 0, 1.5f, 6.0f, 0.8485f, 1.6971f, 3.0f, 1.2f, {U, U, U, 4.5f, 2.5f, 1.5f, U, U}, 0},
    {2, 4, "QL110-04", "QL04", 0, 1.5f, 6.0f, 1.1314f, 2.2627f, 3.0f, 1.6f, {U, U, U, 4.5f, 2.5f, 1.5f, U, U}, 0},
    {2, 5, "QL110-05", "QL05", 0, 1.5f, 6.0f, 1.4142f, 2.8284f, 3.0f, 2.0f, {U, U, U, 4.5f, 2.5f, 1.5f, U, U}, 0},
    {2, 6, "QL110-06", "QL06", 0, 1.5f, 6.0f, 1.6971f, 3.3941f, 3.0f, 2.4f, {U, U, U, 4.5f, 2.5f, 1.5f, U, U}, 0},
    {3, 2, "QA110-02", "QA02", 0, 2.0f, 8.0f, 0.6532f, 1.3064f, 3.0f, 0.8f, {U, U, U, U, 6.0f, 3.5f, 2.0f, U}, 0},
    {3, 25, "QA110-025", "QA025", 0, 2.0f, 8.0f, 0.8165f, 1.633f, 3.0f, 1.0f, {U, U, U, U, 6.0f, 3.5f, 2.0f, U}, 0},
    {3, 3, "QA110-03", "QA03", 0, 2.0f, 8.0f, 0.9798f, 1.9596f, 3.0f, 1.2f, {U, U, U, U, 6.0f, 3.5f, 2.0f, U}, 0},
    {3, 4, "QA110-04", "QA04", 0, 2.0f, 8.0f, 1.3064f, 2.6128f, 3.0f, 1.6f, {U, U, U, U, 6.0f, 3.5f, 2.0f, U}, 0},
    {3, 5, "QA110-05", "QA05", 0, 2.0f, 8.0f, 1.633f, 3.266f, 3.0f, 2.0f, {U, U, U, U, 6.0f, 3.5f, 2.0f, U}, 0},
    {3, 6, "QA110-06", "QA06", 0, 2.0f, 8.0f, 1.9596f, 3.9192f, 3.0f, 2.4f, {U, U, U, U, 6.0f, 3.5f, 2.0f, U}, 0},
    {4, 2, "QC110-02", "QC02", 0, 1.5f, 7.0f, 0.5657f, 1.222f, 3.0f, 0.8f, {U, U, U, 5.5f, 3.0f, 1.5f, U, U}, 0},
    {4, 25, "QC110-025", "QC025", 0, 1.5f, 7.0f, 0.7071f, 1.5275f, 3.0f, 1.0f, {U, U, U, 5.5f, 3.0f, 1.5f, U, U}, 0},
    {4, 3, "QC110-03", "QC03", 0, 1.5f, 7.0f, 0.8485f, 1.833f, 3.0f, 1.2f, {U, U, U, 5.5f, 3.0f, 1.5f, U, U}, 0},
    {4, 4, "QC110-04", "QC04", 0, 1.5f, 7.0f, 1.1314f, 2.444f, 3.0f, 1.6f, {U, U, U, 5.5f, 3.0f, 1.5f, U, U}, 0},
    {4, 5, "QC110-05", "QC05", 0, 1.5f, 7.0f, 1.4142f, 3.0551f, 3.0f, 2.0f, {U, U, U, 5.5f, 3.0f, 1.5f, U, U}, 0},
    {5, 1, "QH80-01", "QH01", 0, 3.0f, 15.0f, 0.4f, 0.8944f, 3.0f, 0.4f, {12.0f, 7.0f, 3.0f, U, U, U, U, U}, 0},
    {5, 15, "QH80-015", "QH015", 0, 3.0f, 15.0f, 0.6f, 1.3416f, 3.0f, 0.6f, {12.0f, 7.0f, 3.0f, U, U, U, U, U}, 0},
    {5, 2, "QH80-02", "QH02", 0, 3.0f, 15.0f, 0.8f, 1.7889f, 3.0f, 0.8f, {12.0f, 7.0f, 3.0f, U, U, U, U, U}, 0},
    {5, 25, "QH80-025", "QH025", 0, 3.0f, 15.0f, 1.0f, 2.2361f, 3.0f, 1.0f, {12.0f, 7.0f, 3.0f, U, U, U, U, U}, 0},
    {5, 3, "QH80-03", "QH03", 0, 3.0f, 15.0f, 1.2f, 2.6833f, 3.0f, 1.2f, {12.0f, 7.0f, 3.0f, U, U, U, U, U}, 0},
    {5, 4, "QH80-04", "QH04", 0, 3.0f, 15.0f, 1.6f, 3.5777f, 3.0f, 1.6f, {12.0f, 7.0f, 3.0f, U, U, U, U, U}, 0},
    {6, 2, "QS-02", "QS02", 0, 1.0f, 4.0f, 0.4619f, 0.9238f, 3.0f, 0.8f, {U, U, U, U, U, U, U, U}, 0},
    {6, 25, "QS-025", "QS025", 0, 1.0f, 4.0f, 0.5774f, 1.1547f, 3.0f, 1.0f, {U, U, U, U, U, U, U, U}, 0},
    {6, 3, "QS-03", "QS03", 0, 1.0f, 4.0f, 0.6928f, 1.3856f, 3.0f, 1.2f, {U, U, U, U, U, U, U, U}, 0},
    {6, 4, "QS-04", "QS04", 0, 1.0f, 4.0f, 0.9238f, 1.8475f, 3.0f, 1.6f, {U, U, U, U, U, U, U, U}, 0},
};

// First record of families 1 to 35; -1 for a family without records.
constexpr int16_t kFamilyFirst[NOZZLE_FAMILY_COUNT] = {0, 7, 14, 20, 25, 31, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

// Catalogue family of types 2 to 35 (0 = none).
constexpr uint8_t kTypeFamily[NOZZLE_TYPE_COUNT - 2] = {0, 0, 1, 2, 3, 0, 4, 0, 0, 0, 5, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// name, size code, reference pressure (1/100 bar), word, reference flow (1/1000 l/min),
// first and step pressure of the droplet categories (1/100 bar), from the catalogue, categories.
constexpr NozzleSize kType0[] = {
    {"01", 1, 300, 0, 400, 150, 50, 0, "VVCCmmf"},
    {"015", 15, 300, 0, 600, 150, 50, 0, "VVCCmmf"},
    {"02", 2, 300, 0, 800, 150, 50, 0, "XXVVCCm"},
    {"025", 25, 300, 0, 1000, 150, 50, 0, "UUXXVVC"},
    {"03", 3, 300, 0, 1200, 150, 50, 0, "UUXXVVC"},
    {"04", 4, 300, 0, 1600, 150, 50, 0, "UUXXVVC"},
    {"05", 5, 300, 0, 2000, 150, 50, 0, "uuUUXXV"},
    {"06", 6, 300, 0, 2400, 150, 50, 0, "uuUUXXV"},
    {"08", 8, 300, 0, 3200, 150, 50, 0, "uuUUXXV"},
};
constexpr NozzleSize kType1[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "CCmmffvv"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "CCmmffvv"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "VVCCmmff"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "XXVVCCmm"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "XXVVCCmm"},
    {"04", 4, 300, 0, 1600, 100, 50, 0, "XXVVCCmm"},
    {"05", 5, 300, 0, 2000, 100, 50, 0, "UUXXVVCC"},
    {"06", 6, 300, 0, 2400, 100, 50, 0, "UUXXVVCC"},
    {"08", 8, 300, 0, 3200, 100, 50, 0, "UUXXVVCC"},
};
constexpr NozzleSize kType2[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "mmffvvxxx"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "mmffvvxxx"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "CCmmffvvx"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "VVCCmmffv"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "VVCCmmffv"},
    {"04", 4, 300, 0, 1600, 100, 50, 0, "VVCCmmffv"},
};
constexpr NozzleSize kType3[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "VVCCmmf"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "VVCCmmf"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "XXVVCCm"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "UUXXVVC"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "UUXXVVC"},
    {"04", 4, 300, 0, 1600, 100, 50, 0, "UUXXVVC"},
    {"05", 5, 300, 0, 2000, 100, 50, 0, "uuUUXXV"},
    {"06", 6, 300, 0, 2400, 100, 50, 0, "uuUUXXV"},
};
constexpr NozzleSize kType4[] = {
    {"015", 15, 300, 0, 600, 0, 0, 1, ""},
    {"02", 2, 300, 0, 800, 0, 0, 1, ""},
    {"025", 25, 300, 0, 1000, 0, 0, 1, ""},
    {"03", 3, 300, 0, 1200, 0, 0, 1, ""},
    {"04", 4, 300, 0, 1600, 0, 0, 1, ""},
    {"05", 5, 300, 0, 2000, 0, 0, 1, ""},
    {"06", 6, 300, 0, 2400, 0, 0, 1, ""},
};
constexpr NozzleSize kType5[] = {
    {"015", 15, 300, 0, 600, 0, 0, 1, ""},
    {"02", 2, 300, 0, 800, 0, 0, 1, ""},
    {"025", 25, 300, 0, 1000, 0, 0, 1, ""},
    {"03", 3, 300, 0, 1200, 0, 0, 1, ""},
    {"04", 4, 300, 0, 1600, 0, 0, 1, ""},
    {"05", 5, 300, 0, 2000, 0, 0, 1, ""},
    {"06", 6, 300, 0, 2400, 0, 0, 1, ""},
};
constexpr NozzleSize kType6[] = {
    {"02", 2, 300, 0, 800, 0, 0, 1, ""},
    {"025", 25, 300, 0, 1000, 0, 0, 1, ""},
    {"03", 3, 300, 0, 1200, 0, 0, 1, ""},
    {"04", 4, 300, 0, 1600, 0, 0, 1, ""},
    {"05", 5, 300, 0, 2000, 0, 0, 1, ""},
    {"06", 6, 300, 0, 2400, 0, 0, 1, ""},
};
constexpr NozzleSize kType7[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "CCmmffvv"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "CCmmffvv"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "VVCCmmff"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "XXVVCCmm"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "XXVVCCmm"},
    {"04", 4, 300, 0, 1600, 100, 50, 0, "XXVVCCmm"},
    {"05", 5, 300, 0, 2000, 100, 50, 0, "UUXXVVCC"},
};
constexpr NozzleSize kType8[] = {
    {"02", 2, 300, 0, 800, 0, 0, 1, ""},
    {"025", 25, 300, 0, 1000, 0, 0, 1, ""},
    {"03", 3, 300, 0, 1200, 0, 0, 1, ""},
    {"04", 4, 300, 0, 1600, 0, 0, 1, ""},
    {"05", 5, 300, 0, 2000, 0, 0, 1, ""},
};
constexpr NozzleSize kType9[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "VVCCmmf"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "VVCCmmf"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "XXVVCCm"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "UUXXVVC"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "UUXXVVC"},
};
constexpr NozzleSize kType10[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "CCmmffvv"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "CCmmffvv"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "VVCCmmff"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "XXVVCCmm"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "XXVVCCmm"},
    {"04", 4, 300, 0, 1600, 100, 50, 0, "XXVVCCmm"},
};
constexpr NozzleSize kType11[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "mmffvvxxx"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "mmffvvxxx"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "CCmmffvvx"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "VVCCmmffv"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "VVCCmmffv"},
    {"04", 4, 300, 0, 1600, 100, 50, 0, "VVCCmmffv"},
    {"05", 5, 300, 0, 2000, 100, 50, 0, "XXVVCCmmf"},
};
constexpr NozzleSize kType12[] = {
    {"01", 1, 300, 0, 400, 0, 0, 1, ""},
    {"015", 15, 300, 0, 600, 0, 0, 1, ""},
    {"02", 2, 300, 0, 800, 0, 0, 1, ""},
    {"025", 25, 300, 0, 1000, 0, 0, 1, ""},
    {"03", 3, 300, 0, 1200, 0, 0, 1, ""},
    {"04", 4, 300, 0, 1600, 0, 0, 1, ""},
};
constexpr NozzleSize kType13[] = {
    {"02", 2, 300, 0, 800, 0, 0, 1, ""},
    {"025", 25, 300, 0, 1000, 0, 0, 1, ""},
    {"03", 3, 300, 0, 1200, 0, 0, 1, ""},
    {"04", 4, 300, 0, 1600, 0, 0, 1, ""},
};
constexpr NozzleSize kType14[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "mmffvvxxx"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "mmffvvxxx"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "CCmmffvvx"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "VVCCmmffv"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "VVCCmmffv"},
    {"04", 4, 300, 0, 1600, 100, 50, 0, "VVCCmmffv"},
};
constexpr NozzleSize kType15[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "VVCCmmf"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "VVCCmmf"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "XXVVCCm"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "UUXXVVC"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "UUXXVVC"},
    {"04", 4, 300, 0, 1600, 100, 50, 0, "UUXXVVC"},
    {"05", 5, 300, 0, 2000, 100, 50, 0, "uuUUXXV"},
};
constexpr NozzleSize kType16[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "CCmmffvv"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "CCmmffvv"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "VVCCmmff"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "XXVVCCmm"},
};
constexpr NozzleSize kType17[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "mmffvvxxx"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "mmffvvxxx"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "CCmmffvvx"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "VVCCmmffv"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "VVCCmmffv"},
};
constexpr NozzleSize kType18[] = {
    {"User 1", 1, 300, 0, 400, 100, 50, 0, "CCCmmmmff"},
    {"User 2", 2, 300, 0, 800, 100, 50, 0, "CCCmmmmff"},
    {"User 3", 3, 300, 0, 1200, 100, 50, 0, "CCCmmmmff"},
    {"User 4", 4, 300, 0, 1600, 100, 50, 0, "CCCmmmmff"},
    {"User 5", 5, 300, 0, 2000, 100, 50, 0, "CCCmmmmff"},
};
constexpr NozzleSize kType19[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "CCmmffvv"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "CCmmffvv"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "VVCCmmff"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "XXVVCCmm"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "XXVVCCmm"},
    {"04", 4, 300, 0, 1600, 100, 50, 0, "XXVVCCmm"},
    {"05", 5, 300, 0, 2000, 100, 50, 0, "UUXXVVCC"},
};
constexpr NozzleSize kType20[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "mmffvvxxx"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "mmffvvxxx"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "CCmmffvvx"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "VVCCmmffv"},
};
constexpr NozzleSize kType21[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "VVCCmmf"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "VVCCmmf"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "XXVVCCm"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "UUXXVVC"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "UUXXVVC"},
};
constexpr NozzleSize kType22[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "CCmmffvv"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "CCmmffvv"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "VVCCmmff"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "XXVVCCmm"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "XXVVCCmm"},
    {"04", 4, 300, 0, 1600, 100, 50, 0, "XXVVCCmm"},
};
constexpr NozzleSize kType23[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "mmffvvxxx"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "mmffvvxxx"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "CCmmffvvx"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "VVCCmmffv"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "VVCCmmffv"},
    {"04", 4, 300, 0, 1600, 100, 50, 0, "VVCCmmffv"},
    {"05", 5, 300, 0, 2000, 100, 50, 0, "XXVVCCmmf"},
};
constexpr NozzleSize kType24[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "VVCCmmf"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "VVCCmmf"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "XXVVCCm"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "UUXXVVC"},
};
constexpr NozzleSize kType25[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "CCmmffvv"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "CCmmffvv"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "VVCCmmff"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "XXVVCCmm"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "XXVVCCmm"},
};
constexpr NozzleSize kType26[] = {
    {"025", 25, 300, 0, 1000, 100, 50, 0, "mmffvvxxx"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "mmffvvxxx"},
    {"04", 4, 300, 0, 1600, 100, 50, 0, "CCmmffvvx"},
    {"05", 5, 300, 0, 2000, 100, 50, 0, "VVCCmmffv"},
    {"06", 6, 300, 0, 2400, 100, 50, 0, "VVCCmmffv"},
    {"08", 8, 300, 0, 3200, 100, 50, 0, "VVCCmmffv"},
};
constexpr NozzleSize kType27[] = {
    {"025", 25, 300, 0, 1000, 100, 50, 0, "VVCCmmf"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "VVCCmmf"},
    {"04", 4, 300, 0, 1600, 100, 50, 0, "XXVVCCm"},
    {"05", 5, 300, 0, 2000, 100, 50, 0, "UUXXVVC"},
    {"06", 6, 300, 0, 2400, 100, 50, 0, "UUXXVVC"},
    {"08", 8, 300, 0, 3200, 100, 50, 0, "UUXXVVC"},
};
constexpr NozzleSize kType28[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "CCmmffvv"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "CCmmffvv"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "VVCCmmff"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "XXVVCCmm"},
};
constexpr NozzleSize kType29[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "mmffvvxxx"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "mmffvvxxx"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "CCmmffvvx"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "VVCCmmffv"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "VVCCmmffv"},
};
constexpr NozzleSize kType30[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "VVCCmmf"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "VVCCmmf"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "XXVVCCm"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "UUXXVVC"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "UUXXVVC"},
    {"04", 4, 300, 0, 1600, 100, 50, 0, "UUXXVVC"},
};
constexpr NozzleSize kType31[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "CCmmffvv"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "CCmmffvv"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "VVCCmmff"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "XXVVCCmm"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "XXVVCCmm"},
    {"04", 4, 300, 0, 1600, 100, 50, 0, "XXVVCCmm"},
    {"05", 5, 300, 0, 2000, 100, 50, 0, "UUXXVVCC"},
};
constexpr NozzleSize kType32[] = {
    {"01", 1, 300, 0, 400, 150, 50, 0, "mmffvvxxx"},
    {"015", 15, 300, 0, 600, 150, 50, 0, "mmffvvxxx"},
    {"02", 2, 300, 0, 800, 150, 50, 0, "CCmmffvvx"},
    {"025", 25, 300, 0, 1000, 150, 50, 0, "VVCCmmffv"},
};
constexpr NozzleSize kType33[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "VVCCmmf"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "VVCCmmf"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "XXVVCCm"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "UUXXVVC"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "UUXXVVC"},
};
constexpr NozzleSize kType34[] = {
    {"01", 1, 300, 0, 400, 100, 50, 0, "CCmmffvv"},
    {"015", 15, 300, 0, 600, 100, 50, 0, "CCmmffvv"},
    {"02", 2, 300, 0, 800, 100, 50, 0, "VVCCmmff"},
    {"025", 25, 300, 0, 1000, 100, 50, 0, "XXVVCCmm"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "XXVVCCmm"},
    {"04", 4, 300, 0, 1600, 100, 50, 0, "XXVVCCmm"},
};
constexpr NozzleSize kType35[] = {
    {"025", 25, 300, 0, 1000, 100, 50, 0, "mmffvvxxx"},
    {"03", 3, 300, 0, 1200, 100, 50, 0, "mmffvvxxx"},
    {"04", 4, 300, 0, 1600, 100, 50, 0, "CCmmffvvx"},
    {"05", 5, 300, 0, 2000, 100, 50, 0, "VVCCmmffv"},
    {"06", 6, 300, 0, 2400, 100, 50, 0, "VVCCmmffv"},
    {"08", 8, 300, 0, 3200, 100, 50, 0, "VVCCmmffv"},
};

#define NOZZLE_TYPE(sizes) {sizeof sizes / sizeof sizes[0], sizes, 0}
constexpr NozzleType kTypeSizes[NOZZLE_TYPE_COUNT] = {
    NOZZLE_TYPE(kType0),
    NOZZLE_TYPE(kType1),
    NOZZLE_TYPE(kType2),
    NOZZLE_TYPE(kType3),
    NOZZLE_TYPE(kType4),
    NOZZLE_TYPE(kType5),
    NOZZLE_TYPE(kType6),
    NOZZLE_TYPE(kType7),
    NOZZLE_TYPE(kType8),
    NOZZLE_TYPE(kType9),
    NOZZLE_TYPE(kType10),
    NOZZLE_TYPE(kType11),
    NOZZLE_TYPE(kType12),
    NOZZLE_TYPE(kType13),
    NOZZLE_TYPE(kType14),
    NOZZLE_TYPE(kType15),
    NOZZLE_TYPE(kType16),
    NOZZLE_TYPE(kType17),
    NOZZLE_TYPE(kType18),
    NOZZLE_TYPE(kType19),
    NOZZLE_TYPE(kType20),
    NOZZLE_TYPE(kType21),
    NOZZLE_TYPE(kType22),
    NOZZLE_TYPE(kType23),
    NOZZLE_TYPE(kType24),
    NOZZLE_TYPE(kType25),
    NOZZLE_TYPE(kType26),
    NOZZLE_TYPE(kType27),
    NOZZLE_TYPE(kType28),
    NOZZLE_TYPE(kType29),
    NOZZLE_TYPE(kType30),
    NOZZLE_TYPE(kType31),
    NOZZLE_TYPE(kType32),
    NOZZLE_TYPE(kType33),
    NOZZLE_TYPE(kType34),
    NOZZLE_TYPE(kType35),
};
#undef NOZZLE_TYPE

const char* const kSeriesNames[NOZZLE_TYPE_COUNT] = {
    "Twin Fluid",
    "General",
    "Standard Flat Fan",
    "Extended Range Flat Fan",
    "Low Pressure Flat Fan",
    "Reduced Drift Flat Fan",
    "Air Induction Flat Fan",
    "Twin Flat Fan",
    "Compact Air Induction",
    "Even Flat Fan",
    "Wide Angle Flat Fan",
    "Off-Centre Flat Fan",
    "Hollow Cone",
    "Spot Spray",
    "Flood Fan",
    "Three-Hole Stream",
    "Five-Hole Stream",
    "Seven-Hole Stream",
    "User Tip",
    "Pre-Orifice Flat Fan",
    "Asymmetric Flat Fan",
    "Band Flat Fan",
    "Boom End Flat Fan",
    "Deflector Flat Fan",
    "Deflector Twin Fan",
    "Dual Angle Flat Fan",
    "Fertiliser Stream",
    "Multi-Stream Plate",
    "Row Crop Flat Fan",
    "Orchard Hollow Cone",
    "Orchard Full Cone",
    "Turf Flat Fan",
    "Turf Air Induction",
    "Wide Spacing Flat Fan",
    "Low Volume Flat Fan",
    "High Volume Flat Fan",
};
constexpr uint32_t kCatalogueCount = sizeof kCatalogue / sizeof kCatalogue[0];

struct TypeTable {
    NozzleType types[NOZZLE_TYPE_COUNT];
    uint32_t entries;
};

const TypeTable& typeTable()
{
    static const TypeTable table = [] {
        TypeTable t{};
        for (uint32_t i = 0; i < NOZZLE_TYPE_COUNT; ++i) {
            t.types[i] = kTypeSizes[i];
            t.types[i].base = t.entries;
            t.entries += kTypeSizes[i].sizeCount;
        }
        return t;
    }();
    return table;
}

bool isSet(float boundary)
{
    return boundary > 0.0f;
}

}  // namespace

uint32_t nozzleCatalogueCount()
{
    return kCatalogueCount;
}

const NozzleCatalogueRecord* nozzleCatalogueRecord(uint32_t i)
{
    return &kCatalogue[i < kCatalogueCount ? i : 0];
}

uint32_t nozzleFamilyFirstRecord(uint32_t f)
{
    if (f < 1 || f > NOZZLE_FAMILY_COUNT || kFamilyFirst[f - 1] < 0)
        return 0;
    return static_cast<uint32_t>(kFamilyFirst[f - 1]);
}

bool dropletClassBand(const NozzleCatalogueRecord* record, uint32_t k, float* lower, float* upper)
{
    if (record == nullptr || k < 1 || k > NOZZLE_CLASS_COUNT)
        return false;
    const float low = record->bounds[k - 1];
    // b0 is the maximum pressure; above a set boundary whose upper neighbour is
    // not set, the band reaches the maximum pressure.
    float high = k == 1 ? record->maxPressure : record->bounds[k - 2];
    if (isSet(low) && !isSet(high))
        high = record->maxPressure;
    *lower = low;
    *upper = high;
    return isSet(low) && isSet(high);
}

uint32_t dropletClassify(const NozzleCatalogueRecord* record, float p)
{
    if (record == nullptr || p < record->minPressure || p > record->maxPressure)
        return 0;
    for (uint32_t k = 1; k <= NOZZLE_CLASS_COUNT; ++k) {
        float lower;
        float upper;
        if (dropletClassBand(record, k, &lower, &upper) && lower <= p && p <= upper)
            return k;
    }
    return 0;
}

const NozzleType* nozzleType(uint32_t t)
{
    return t < NOZZLE_TYPE_COUNT ? &typeTable().types[t] : nullptr;
}

uint32_t nozzleReferenceCount()
{
    return typeTable().entries;
}

uint32_t nozzleTypeFamily(uint32_t type)
{
    return (type >= 2 && type < NOZZLE_TYPE_COUNT) ? kTypeFamily[type - 2] : 0;
}

uint32_t nozzleLetterCode(char letter)
{
    static const char kLetters[] = "uUXVCmfvx";  // codes 0 to 8
    const char* found = letter != '\0' ? std::strchr(kLetters, letter) : nullptr;
    return found != nullptr ? static_cast<uint32_t>(found - kLetters) : NOZZLE_NO_DROPLET_CODE;
}

const char* nozzleSeriesName(uint32_t t)
{
    return kSeriesNames[t < NOZZLE_TYPE_COUNT ? t : NOZZLE_USER_TIP_TYPE];
}
