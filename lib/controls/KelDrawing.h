#pragma once
// Drawing helpers shared by the library's controls: short markup text (bold, italic, underline
// and colour tags) drawn and measured on a canvas, text measuring, the flat and normal check box
// of list rows, and the border and height rules of edit-like controls.
//
// Markup: plain characters plus the tags <b> </b> <i> </i> <u> </u> (letter case ignored) and
// <c:Colour>, where Colour is a colour name without its "cl" ("<c:Red>", "<c:Window>") or a "$"
// hexadecimal colour value in blue-green-red order ("<c:$0000FF>" is red). Any other "<" is an
// ordinary character; there is no escape for "<".
//
// Widths are logical pixels measured with the canvas's own font metrics, so what
// DrawMarkupText measures is exactly what it draws.

#include <QString>

#include "Canvas.h"
#include "Color.h"
#include "Font.h"
#include "GuiTypes.h"
#include "KelExport.h"
#include "Rect.h"

class QFont;
class QFrame;

namespace Kel {

// --- colour tags

// "<c:" + the colour's name without "cl" + ">", or "<c:$00BBGGRR>" for a colour without a name.
KEL_EXPORT QString ColorTag(TColor color);

// The colour that the name of a colour tag stands for: a name without "cl", or a "$"
// hexadecimal value. False when the name means no colour (the colour in use then stays).
KEL_EXPORT bool ColorOfTagName(const QString& name, TColor& color);

// --- markup text

// Draws text into rect with the canvas's font and brush (unless measureOnly): a 2-pixel margin
// on the left, then each run of plain text at the rectangle's top, clipped to the run and to
// rect. Tags change the font's style and colour as they come; both are restored at the end.
// width := the width used, margin included; plainText := text without its tags.
KEL_EXPORT void DrawMarkupText(TCanvas& canvas, const TRect& rect, const QString& text,
                               bool measureOnly, int& width, QString& plainText);
// --- colours

// The perceived brightness of a colour, 0 (black) to 255 (white).
KEL_EXPORT int ColorLuminance(const QColor& color);
// A colour between a and b (the weight of b in percent).
KEL_EXPORT QColor MixColors(const QColor& a, const QColor& b, int percentB);

// The text without its tags, as a screen reader should hear it.
KEL_EXPORT QString MarkupPlainText(const QString& text);
// The width that drawing would use.
KEL_EXPORT int MarkupTextWidth(TCanvas& canvas, const QString& text);

// --- measuring

// The smallest i (1-based) with width(first i - 1 characters) <= x <= width(first i
// characters); 0 when there is none (x negative or beyond the text).
KEL_EXPORT int CharIndexAtX(const QString& text, const QFont& font, int x);
KEL_EXPORT int CharIndexAtX(const QString& text, const TFont& font, int x);
KEL_EXPORT int TextWidthOf(const QString& text, const QFont& font);
KEL_EXPORT int TextWidthOf(const QString& text, const TFont& font);
// The height of a line of text ("Wg") in font.
KEL_EXPORT int TextHeightOf(const QFont& font);
KEL_EXPORT int TextHeightOf(const TFont& font);

// --- check boxes

// The size of the style's check-box indicator.
KEL_EXPORT int CheckGlyphWidth();
KEL_EXPORT int CheckGlyphHeight();
KEL_EXPORT TCheckBoxState BoolToCheckState(bool checked);
// A check box centred in rect, the rest of rect filled with the canvas brush. Flat: only the
// inside of the glyph, framed by a one-pixel line in the button-shadow colour (the list box's
// flat look); otherwise the style's whole indicator.
KEL_EXPORT void DrawCheckBox(TCanvas& canvas, const TRect& rect, TCheckBoxState state, bool flat);
// Fills with the canvas brush the parts of outer outside inner grown by one pixel on every side.
KEL_EXPORT void FillAround(TCanvas& canvas, const TRect& outer, const TRect& inner);

// The colour of a one-pixel shadow line (a flat frame) on background: the button-shadow
// colour, or, where that does not stand out from the background (dark palettes, whose shadows
// are darker than their dark backgrounds), a grey between the text colour and the background.
KEL_EXPORT QColor ShadowLineColor(const TCanvas& canvas, TColor background);

// --- borders and heights of edit-like controls

// The height the style gives a one-line edit in font, with or without its frame.
KEL_EXPORT int EditHeightForFont(const QFont& font, bool border);
KEL_EXPORT int EditHeightForFont(const TFont& font, bool border);
// The frame of a control in Qt terms: bsSingle is the style's sunken panel with ctl3D, a flat
// one-pixel box without; bsNone (and the window border styles) no frame.
KEL_EXPORT void ApplyBorderStyle(QFrame* frame, TBorderStyle borderStyle, bool ctl3D);
// For controls that paint their own border: its width (0, 1 flat, 2 sunken), and the border
// drawn into rect, returning the rectangle inside it.
KEL_EXPORT int BorderWidth(TBorderStyle borderStyle, bool ctl3D);
KEL_EXPORT TRect DrawBorder(TCanvas& canvas, const TRect& rect, TBorderStyle borderStyle,
                            bool ctl3D);

// --- text pieces

// The index-th (0-based) piece of text between delimiters, up to the next delimiter or the end;
// empty for an empty piece, a negative index or one past the last piece.
KEL_EXPORT QString ExtractField(const QString& text, int index, QChar delimiter);

}  // namespace Kel
