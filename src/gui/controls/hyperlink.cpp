#include "gui/controls/hyperlink.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>

namespace lark::ui {
namespace {

TargetOpener &currentOpener()
{
    static TargetOpener opener = openWithDesktop;
    return opener;
}

} // namespace

HyperLink::HyperLink(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMouseTracking(true);
    // Reachable from the keyboard, so the space bar can follow it.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(text);
    repaintInState();
}

void HyperLink::attach()
{
    if (m_target.isEmpty())
        m_target = text();
    if (text().isEmpty() && !showsImage())
        setText(m_target);
    if (showsImage()) {
        // A picture keeps its place and its own size.
        m_linkStyle &= ~LinkFitText;
        resize(sizeHint());
    }
    applyFont();
    if (!(m_linkStyle & LinkNoHandCursor))
        setCursor(Qt::PointingHandCursor);
    setToolTip(m_target);
}

void HyperLink::setTarget(const QString &target)
{
    m_target = target;
    fitToText();
    setToolTip(m_target);
    if (accessibleName().isEmpty())
        setAccessibleName(m_target);
}

bool HyperLink::changeLinkStyle(unsigned remove, unsigned add, bool apply)
{
    if (remove & add)
        return false;
    m_linkStyle = (m_linkStyle & ~remove) | add;
    if (apply) {
        if ((remove | add) & LinkUnderline)
            applyFont();
        if (add & LinkFitText)
            fitToText();
        // The colour is kept in the palette, so any colour bit must be applied at once.
        repaintInState();
    }
    return true;
}

QColor HyperLink::textColour() const
{
    if (m_hovering && (m_linkStyle & LinkHoverColour))
        return hoverColour;
    if (m_active && !(m_linkStyle & LinkNoActiveColour))
        return activeColour;
    return m_visited ? visitedColour : linkColour;
}

void HyperLink::followTarget()
{
    const int result = openTarget(m_target);
    if (result <= 32) {
        QApplication::beep();
        reportOpenFailure(result);
        return;
    }
    m_visited = true;
    repaintInState();
}

// Shrinks or grows the control to its text, keeping the edge its alignment anchors.
void HyperLink::fitToText()
{
    if (!(m_linkStyle & LinkFitText))
        return;
    QRect w = geometry();
    const QFontMetrics metrics(font());
    const int tw = metrics.horizontalAdvance(text());
    const int th = metrics.height();
    const Qt::Alignment a = alignment();
    if (a & Qt::AlignVCenter) {
        const int d = (w.height() - th) / 2;
        w.adjust(0, d, 0, -d);
    } else {
        w.setHeight(th);
    }
    if (a & Qt::AlignHCenter) {
        const int d = (w.width() - tw) / 2;
        w.adjust(d, 0, -d, 0);
    } else if (a & Qt::AlignRight) {
        w.setLeft(w.left() + w.width() - tw);
    } else {
        w.setWidth(tw);
    }
    setGeometry(w);
}

int HyperLink::openTarget(const QString &target)
{
    return currentOpener()(target);
}

TargetOpener HyperLink::setTargetOpener(TargetOpener opener)
{
    return std::exchange(currentOpener(), std::move(opener));
}

void HyperLink::reportOpenFailure(int code)
{
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), openFailureMessage(code),
                    QMessageBox::Ok);
    box.exec();
}

void HyperLink::mouseMoveEvent(QMouseEvent *event)
{
    setHovering(rect().contains(event->position().toPoint()));
    QLabel::mouseMoveEvent(event);
}

void HyperLink::leaveEvent(QEvent *event)
{
    setHovering(false);
    QLabel::leaveEvent(event);
}

void HyperLink::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QLabel::mousePressEvent(event);
    if (m_linkStyle & LinkFocusOnPress)
        setFocus(Qt::MouseFocusReason);
    if (m_linkStyle & LinkFollowOnPress)
        followTarget();
    m_active = true;
    repaintInState();
}

void HyperLink::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_active && !(m_linkStyle & LinkFollowOnPress))
        followTarget();
    QLabel::mouseReleaseEvent(event);
}

void HyperLink::focusInEvent(QFocusEvent *event)
{
    m_active = true;
    repaintInState();
    QLabel::focusInEvent(event);
}

void HyperLink::focusOutEvent(QFocusEvent *event)
{
    m_hovering = false;
    m_active = false;
    repaintInState();
    QLabel::focusOutEvent(event);
}

void HyperLink::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space)
        followTarget();
    else
        QLabel::keyPressEvent(event);
}

bool HyperLink::showsImage() const
{
    return !pixmap().isNull();
}

void HyperLink::applyFont()
{
    QFont linkFont = font();
    linkFont.setUnderline(m_linkStyle & LinkUnderline);
    setFont(linkFont);
    fitToText();
}

void HyperLink::setHovering(bool hovering)
{
    if (hovering == m_hovering)
        return;
    m_hovering = hovering;
    repaintInState();
}

void HyperLink::repaintInState()
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, textColour());
    setPalette(colours);
    update();
}

} // namespace lark::ui
