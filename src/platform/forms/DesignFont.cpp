#include "DesignFont.h"

#include "Controls.h"
#include "Form.h"
#include "Twips.h"

#include "platform/services/Services.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <limits>

namespace platform {

namespace {

// Twips per point of one line: the design's one-line labels are 195 twips high for an 8-point
// font, its two-line labels twice that.
constexpr double kLineTwipsPerPoint = 23.0;
constexpr double kReadableMinimum = 8.0;
constexpr double kFontStep = 0.5;
// The share of the screen a window may take; the rest is for its frame and the desktop's bars.
constexpr double kScreenShare = 0.9;
// A wrapped text gets fewer lines as its box widens, so its box is widened in small steps.
constexpr double kWrapStep = 1.05;
constexpr double kLeastStep = 1.01;
constexpr int kMostRounds = 60;
constexpr double kPrecision = 0.005;

// A control that is hidden, or lies in a hidden control, is left out; one on a page that is
// only not in front (a tab's) is not, since the user brings it to the front.
bool seenInClientArea(const Form &form, const Control &control)
{
    for (const QWidget *w = &control; w && w != &form; w = w->parentWidget())
        if (w->isHidden() && qobject_cast<const Control *>(w))
            return false;
    const QRect where(control.mapTo(&form, QPoint()), control.size());
    return where.intersects(form.rect());
}

void applyFonts(Form &form, double pointSize)
{
    QFont font = QApplication::font();
    font.setPointSizeF(pointSize);
    font.setBold(form.designFont().bold);
    form.setFont(font);
    const double ratio = pointSize / form.designFont().pointSize;
    form.setDesignFontRatio(ratio);
    for (Control *control : form.Controls())
        control->applyDesignFont(ratio);
}

// The largest layout scale at which the client area still fits on the screen.
double largestScale(const Form &form)
{
    double width = 0;
    double height = 0;
    if (const ScreenService *screen = services().screen) {
        width = screen->widthTwips();
        height = screen->heightTwips();
    } else if (const QScreen *primary = QGuiApplication::primaryScreen()) {
        width = pixelsToTwipsX(primary->availableGeometry().width());
        height = pixelsToTwipsY(primary->availableGeometry().height());
    }
    const double clientWidth = form.ScaleWidth();
    const double clientHeight = form.ScaleHeight();
    if (width <= 0 || height <= 0 || clientWidth <= 0 || clientHeight <= 0)
        return std::numeric_limits<double>::infinity();
    return kScreenShare * std::min(width / clientWidth, height / clientHeight);
}

// How much larger the box around the room (the control, or its part that holds the room) must
// be for the text to fit: its frame and margins stay the same in pixels, only the room grows
// with the scale.
double growthFor(const TextOverflow &overflow)
{
    const QSize size = overflow.box;
    if (size.width() <= 0 || size.height() <= 0)
        return 2.0;
    double growth = 1.0;
    if (overflow.needed.width() > overflow.room.width())
        growth =
            double(size.width() - overflow.room.width() + overflow.needed.width()) / size.width();
    if (overflow.needed.height() > overflow.room.height()) {
        const double tall =
            double(size.height() - overflow.room.height() + overflow.needed.height()) /
            size.height();
        growth = std::max(growth, overflow.wraps ? std::min(tall, kWrapStep) : tall);
    }
    return growth;
}

bool fitsAt(Form &form, double scale)
{
    form.setLayoutScale(scale);
    return textOverflows(form).isEmpty();
}

// The smallest scale from `from` on at which every text fits, or nothing when that is above
// `largest`. Leaves the window laid out at the last scale tried.
std::optional<double> fittingScale(Form &form, double from, double largest)
{
    double scale = from;
    double failing = 0; // the largest scale known not to fit
    bool fits = false;
    for (int round = 0; round < kMostRounds; ++round) {
        form.setLayoutScale(scale);
        const QList<TextOverflow> overflows = textOverflows(form);
        fits = overflows.isEmpty();
        if (fits)
            break;
        if (scale >= largest)
            return std::nullopt;
        failing = scale;
        double next = scale * kLeastStep;
        for (const TextOverflow &overflow : overflows)
            next = std::max(next, scale * growthFor(overflow));
        scale = std::min(next, largest);
    }
    if (!fits)
        return std::nullopt;
    if (failing == 0)
        return scale;
    // The steps may have gone past the smallest fitting scale (a wrapped text, rounding).
    while (scale - failing > kPrecision * scale) {
        const double middle = (failing + scale) / 2;
        if (fitsAt(form, middle))
            scale = middle;
        else
            failing = middle;
    }
    form.setLayoutScale(scale);
    return scale;
}

} // namespace

double desktopPointSize()
{
    const QFont font = QApplication::font();
    return font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
}

double DesignFont::lineTwips() const
{
    return pointSize * kLineTwipsPerPoint;
}

int DesignFont::linesIn(double heightTwips) const
{
    return std::max(1, static_cast<int>(std::floor(heightTwips / lineTwips())));
}

QString TextOverflow::describe() const
{
    return QStringLiteral("%1: \"%2\" needs %3 x %4 pixels, has %5 x %6")
        .arg(control ? control->Name() : QString(), text)
        .arg(needed.width())
        .arg(needed.height())
        .arg(room.width())
        .arg(room.height());
}

QSize textSize(const QFont &font, const QString &text, bool wraps, int width)
{
    const QFontMetrics metrics(font);
    if (!wraps)
        return metrics.size(0, text);
    // As QLabel lays out a wrapped plain text.
    return metrics
        .boundingRect(QRect(0, 0, std::max(1, width), std::numeric_limits<int>::max() / 2),
                      Qt::TextWordWrap, text)
        .size();
}

QList<TextOverflow> textOverflows(const Form &form)
{
    QList<TextOverflow> overflows;
    for (const Control *control : form.Controls()) {
        if (!seenInClientArea(form, *control))
            continue;
        for (const TextRoom &room : control->textRooms()) {
            const QSize box = room.box.isEmpty() ? control->size() : room.box;
            for (const QString &text : room.texts) {
                if (text.isEmpty())
                    continue;
                const QSize needed = textSize(room.font, text, room.wraps, room.room.width());
                if (needed.width() > room.room.width() || needed.height() > room.room.height())
                    overflows.append({control, text, needed, room.room, room.wraps, box});
            }
        }
    }
    return overflows;
}

void fitToDesktopFont(Form &form, FitStart start, FitAnchor anchor)
{
    const QRect before = form.frameGeometry();
    const double from = start == FitStart::Afresh ? 1.0 : std::max(1.0, form.layoutScale());
    const double desktop = desktopPointSize();
    const double smallest = std::min(desktop, kReadableMinimum);
    const double largest = std::max(from, largestScale(form));

    double pointSize = desktop;
    for (;;) {
        applyFonts(form, pointSize);
        if (fittingScale(form, from, largest))
            break;
        if (pointSize - kFontStep < smallest) {
            form.setLayoutScale(largest);
            break;
        }
        pointSize -= kFontStep;
    }

    const QRect after = form.frameGeometry();
    if (anchor == FitAnchor::Centre && after.size() != before.size())
        form.move(before.x() + (before.width() - after.width()) / 2,
                  before.y() + (before.height() - after.height()) / 2);
}

} // namespace platform
