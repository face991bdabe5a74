#pragma once

#include <QColor>
#include <QLabel>

#include <functional>

namespace lark::ui {

// Opens a link target. Like the shell it stands for: a value above 32 is success, anything else
// one of the failure codes of openFailureText.
using TargetOpener = std::function<int(const QString &target)>;

// A label that works as a link: colours that follow pointer, focus and history, underline,
// hand cursor, the target as tooltip, and opening the target on click or space.
class HyperLink : public QLabel
{
    Q_OBJECT

public:
    enum StyleBit : unsigned {
        LinkUnderline = 0x01,
        LinkHoverColour = 0x02,
        LinkFitText = 0x04,
        LinkFollowOnPress = 0x08,
        LinkFocusOnPress = 0x10,
        LinkNoHandCursor = 0x20,
        LinkNoActiveColour = 0x40,
    };

    static inline const QColor linkColour {0, 0, 255};
    static inline const QColor activeColour {0, 128, 128};
    static inline const QColor visitedColour {128, 0, 128};
    static inline const QColor hoverColour {255, 0, 0};

    explicit HyperLink(const QString &text, QWidget *parent = nullptr);

    // Set-up once the control stands at its place: target, text, font, size, cursor, tooltip.
    void attach();
    void setTarget(const QString &target);
    QString target() const { return m_target; }
    // false, changing nothing, when both masks share a bit.
    bool changeLinkStyle(unsigned remove, unsigned add, bool apply);
    unsigned linkStyle() const { return m_linkStyle; }
    bool isVisited() const { return m_visited; }
    QColor textColour() const;
    void followTarget();
    void fitToText();

    // Shared by every link and by the window's own page opening.
    static int openTarget(const QString &target);
    // Replaces the opener (the desktop's by default); returns the one it replaced.
    static TargetOpener setTargetOpener(TargetOpener opener);
    static void reportOpenFailure(int code);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool showsImage() const;
    void applyFont();
    void setHovering(bool hovering);
    void repaintInState();

    bool m_active = false;
    bool m_hovering = false;
    bool m_visited = false;
    unsigned m_linkStyle = LinkUnderline | LinkFitText | LinkFocusOnPress;
    QString m_target;
};

// The opener's failure codes as the user reads them.
QString openFailureText(int code);
// "Can't open link:" and a blank line before the code's text.
QString openFailureMessage(int code);
// A desktop entry's command line up to its file or URL placeholder ("%u", "%U", "%f", "%F");
// a quoted placeholder goes with its opening quote. Whole when it has none.
QString cutAtPlaceholder(const QString &commandLine);
// The desktop's URL opener first, then the program registered for HTML pages.
int openWithDesktop(const QString &target);

} // namespace lark::ui
