#include "ui/colour/ColourTable.h"

const std::array<NamedColour, ColourCount> ColourTable = {{
    {"Black", MakeColourRef(0, 0, 0)},
    {"Brown", MakeColourRef(165, 42, 0)},
    {"Dark Olive Green", MakeColourRef(0, 64, 64)},
    {"Dark Green", MakeColourRef(0, 85, 0)},
    {"Dark Teal", MakeColourRef(0, 0, 94)},
    {"Dark blue", MakeColourRef(0, 0, 139)},
    {"Indigo", MakeColourRef(75, 0, 130)},
    {"Dark grey", MakeColourRef(40, 40, 40)},
    {"Dark red", MakeColourRef(139, 0, 0)},
    {"Orange", MakeColourRef(255, 104, 32)},
    {"Dark yellow", MakeColourRef(139, 139, 0)},
    {"Green", MakeColourRef(0, 147, 0)},
    {"Teal", MakeColourRef(56, 142, 142)},
    {"Blue", MakeColourRef(0, 0, 255)},
    {"Blue-grey", MakeColourRef(123, 123, 192)},
    {"Grey - 40", MakeColourRef(102, 102, 102)},
    {"Red", MakeColourRef(255, 0, 0)},
    {"Light orange", MakeColourRef(255, 173, 91)},
    {"Lime", MakeColourRef(50, 205, 50)},
    {"Sea green", MakeColourRef(60, 179, 113)},
    {"Aqua", MakeColourRef(127, 255, 212)},
    {"Light blue", MakeColourRef(125, 158, 192)},
    {"Violet", MakeColourRef(128, 0, 128)},
    {"Grey - 50", MakeColourRef(127, 127, 127)},
    {"Pink", MakeColourRef(255, 192, 203)},
    {"Gold", MakeColourRef(255, 215, 0)},
    {"Yellow", MakeColourRef(255, 255, 0)},
    {"Bright green", MakeColourRef(0, 255, 0)},
    {"Turquoise", MakeColourRef(64, 224, 208)},
    {"Skyblue", MakeColourRef(192, 255, 255)},
    {"Plum", MakeColourRef(72, 0, 72)},
    {"Light grey", MakeColourRef(192, 192, 192)},
    {"Rose", MakeColourRef(255, 228, 225)},
    {"Tan", MakeColourRef(210, 180, 140)},
    {"Light yellow", MakeColourRef(255, 255, 224)},
    {"Pale green ", MakeColourRef(152, 251, 152)},  // the trailing blank is part of the name
    {"Pale turquoise", MakeColourRef(175, 238, 238)},
    {"Pale blue", MakeColourRef(104, 131, 139)},
    {"Lavender", MakeColourRef(230, 230, 250)},
    {"White", MakeColourRef(255, 255, 255)},
}};

int FindColourIndex(COLORREF colour) {
  for (int i = 0; i < ColourCount; ++i) {
    if (ColourTable[i].colour == colour) return i;
  }
  return -1;
}
