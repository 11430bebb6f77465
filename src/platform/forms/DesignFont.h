#pragma once

// Fitting a window, laid out in twips for a small design font, to the desktop's font.
//
// The windows were laid out for an 8-point sans serif (unless a window or a control says
// otherwise): a label 195 twips high holds one line of it, and the boxes are about as wide as
// their texts. Desktops use 10 or 11 point fonts, larger and often wider; at the screen's twips
// per pixel the texts would be cut off or wrapped out of their boxes. The window layer keeps the
// desktop's font and enlarges the layout instead, so that every text stays whole and as large
// as the user asked for:
//  - the window's design font becomes the desktop's font family at the desktop's point size; a
//    control's own design font keeps its proportion to the window's (a 20-point title of an
//    8-point window is 25 points on a 10-point desktop) and its weight;
//  - inside the window, twips become pixels through one factor of the window, its layout scale
//    (Form::layoutScale): every control's Left, Top, Width and Height, a list's column widths
//    and the client area grow together, so the design's proportions hold. The scale is the
//    smallest one, not below 1, at which every text the window shows fits its box
//    (textOverflows: labels, command buttons, check boxes, one-line text boxes, combo boxes, a
//    list's headers and the texts its columns must show whole, a calendar's weekday names and
//    day numbers, tab captions, status panels, and any control kind that reports a TextRoom).
//    The program still reads and writes the design's twips;
//  - a label whose box holds one line of its design font is never wrapped: its text fits on the
//    line or is reported as not fitting;
//  - only when the window would be larger than 90 % of the screen at that scale is the font made
//    smaller, half a point at a time, down to 8 points (or the desktop's size when that is less),
//    and the scale sought again; when even that does not fit, the window takes the largest scale
//    and the texts that do not fit are reported by textOverflows.
// The window's own position and outer size stay in the screen's twips (CenterForm and saved
// positions mean the screen). Form runs the fit before its Form_Load (for the design's texts),
// before every show (for the texts the load set; the window then only grows, about its centre,
// so a centred window stays centred), and when the desktop's font changes (from the start).

#include <QFont>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace platform {

class Control;
class Form;

struct DesignFont
{
    DesignFont() = default;
    DesignFont(double points, bool isBold, QString ownFamily = {})
        : pointSize(points), bold(isBold), family(std::move(ownFamily))
    {
    }

    double pointSize = 8.0;
    bool bold = false;
    // A control may be drawn in a family of its own (a title in a display face); empty means
    // the desktop's family, which the window takes.
    QString family;

    // Twips of one line of this font, as the design's boxes allow for it.
    double lineTwips() const;
    // The lines of this font a box of the given height holds (at least 1): a box that holds
    // one line is a one-line box.
    int linesIn(double heightTwips) const;
};

// Where a control draws a text in a box of fixed size: the texts it may show there (a combo box
// shows any of its items), the room they get in pixels at the control's present size, and the
// font they are drawn in. A wrapping text is broken into lines at the room's width. The room
// lies in a box that grows with the layout scale while its margins stay as they are: the
// control, or a part of it (a list's column, a calendar's cell) when `box` says so.
struct TextRoom
{
    TextRoom(QStringList shown, QSize roomPixels, QFont drawnIn, bool wrapping = false,
             QSize boxPixels = {})
        : texts(std::move(shown)), room(roomPixels), font(std::move(drawnIn)), wraps(wrapping),
          box(boxPixels)
    {
    }

    QStringList texts;
    QSize room;
    QFont font;
    bool wraps = false;
    QSize box; // empty: the control's size
};

// A text that does not fit its box: the pixels it takes, and those it has.
struct TextOverflow
{
    const Control *control = nullptr;
    QString text;
    QSize needed;
    QSize room;
    bool wraps = false;
    QSize box; // the pixels around the room that grow with the layout scale

    // "Label1: "Quarnwell website:" needs 124 x 15 pixels, has 112 x 13"
    QString describe() const;
};

// The point size of the desktop's font (the application's).
double desktopPointSize();

// The pixels a text takes in a font: word-wrapped at `width` when it wraps, otherwise on its own
// lines (line breaks, CR LF included, begin new ones).
QSize textSize(const QFont &font, const QString &text, bool wraps, int width);

// The texts of the controls the user can see (not hidden, lying in the client area) that do
// not fit their boxes, in the order of Form::Controls().
QList<TextOverflow> textOverflows(const Form &form);

enum class FitStart {
    Continue, // the window never gets smaller than it is
    Afresh,   // the desktop's font changed: the scale is sought from 1 again
};
enum class FitAnchor { TopLeft, Centre };

// Maps the window's design font to the desktop's font and sets its layout scale (see above).
void fitToDesktopFont(Form &form, FitStart start, FitAnchor anchor);

} // namespace platform
