// The hidden window Form1 as the program makes it and as quorvel-check expects to read it: a client area of
// 4680 x 3030 twips (1/1440 inch) and three edit fields, Text1 to Text3, each 375 twips high.
#pragma once

namespace form1 {

constexpr int Width = 4680, Height = 3030, FieldHeight = 375;
// Each field's left, top and width.
constexpr short Fields[3][3] = {{480, 360, 2895}, {480, 1080, 2895}, {120, 1800, 4455}};

// Twips as pixels on a screen of dpi dots per inch, rounded.
constexpr int Pixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

}  // namespace form1
