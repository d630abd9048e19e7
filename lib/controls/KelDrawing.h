#pragma once
// Drawing helpers shared by the library's controls: short markup text (bold, italic, underline
// and colour tags) drawn and measured on a canvas, and the colour tags themselves.
//
// Markup: plain characters plus the tags <b> </b> <i> </i> <u> </u> (letter case ignored) and
// <c:Colour>, where Colour is a colour name without its "cl" ("<c:Red>", "<c:Window>") or a "$"
// hexadecimal colour value in blue-green-red order ("<c:$0000FF>" is red). Any other "<" is an
// ordinary character.

#include <QString>

#include "Color.h"

namespace Kel {

// "<c:" + the colour's name without "cl" + ">", or "<c:$00BBGGRR>" for a colour without a name.
QString ColorTag(TColor color);

// The colour that the name of a colour tag stands for: a name without "cl", or a "$"
// hexadecimal value. False when the name means no colour (the colour in use then stays).
bool ColorOfTagName(const QString& name, TColor& color);

}  // namespace Kel
