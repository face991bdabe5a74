#pragma once

#include "engine/ports.h"
#include "lookup/instrument_directory.h"

#include <QColor>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class QLabel;
class QMessageBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace lark::ui {

struct SizeLayout;

inline constexpr int kCodeLength = 6;

// Columns, colours, row height and the in-place code edit of the quote list for one size.
// onCodeEdited receives a row and its confirmed text; a cancelled edit calls nothing. The edit
// lists the instruments of offerCodes' directory, when given, that what is typed matches.
void configureQuoteList(QTreeWidget *list, const SizeLayout &layout,
                        std::function<void(int row, const QString &code)> onCodeEdited,
                        DirectoryRequest offerCodes = {});

struct QuoteListControls
{
    QTreeWidget *list;
    QLabel *status;
    QPushButton *previousPage;
    QPushButton *nextPage;
};

// The engine's quote list. Calls made by the workers are kept in order and carried out on the
// user-interface thread together, a short moment after the first of a burst: a pass changes the
// list once and repaints it once, or not at all when nothing on it changed. With
// LARK_DUMP_LIST set, the rows are also written to that file (tab-separated, at once but at
// most five times a second) for tests that cannot read the screen.
class ViewQuoteList : public QuoteListPort
{
public:
    ViewQuoteList(QuoteListControls controls, std::vector<Qt::Alignment> alignments);
    ~ViewQuoteList() override;

    void deleteAllRows() override;
    void deleteRow(int row) override;
    void insertRow(int row, const std::string &code) override;
    void setText(int row, int column, const std::string &text) override;
    void setTextColour(Rgb colour) override;
    void setStatusText(const std::string &text) override;
    void enablePageButton(PageButton button) override;

    // The row of this code stands out until another is marked (empty: none), through every
    // rewrite of the list; its texts stay as they are. User-interface thread.
    void markRow(const QString &code);

private:
    struct Call;
    void applyMark();

    void add(Call call);
    void carryOut();
    QTreeWidgetItem *makeItem() const;
    void dump();

    QuoteListControls m_controls;
    std::vector<Qt::Alignment> m_alignments;
    std::mutex m_mutex;
    std::vector<Call> m_calls; // under m_mutex
    // The colour set before a row is written is that row's own, as the engine sets it by the
    // row's change; the list as a whole keeps its text colour. On the list's thread.
    std::optional<QColor> m_pendingColour;
    QString m_markedCode; // on the list's thread
    QTimer m_batchTimer;
    QString m_dumpPath;
    QTimer m_dumpTimer;
    QElapsedTimer m_lastDump;
};

// What the engine asks of the desktop, on the user-interface thread.
class ViewDesktop : public DesktopPort
{
public:
    // showGlance re-reads the engine's feed and ringing alert, on the context's thread.
    ViewDesktop(QObject *context, std::function<void(TrayPicture)> showTrayPicture,
                std::function<void()> showGlance);

    void openUrl(const std::string &url) override;
    void playTone(int hertz, int milliseconds) override;
    void setTrayPicture(TrayPicture picture) override;
    bool askOkCancel(const std::string &text) override;
    void glanceChanged() override;

    // The window is closing: every waiting worker goes on at once (a question counts as
    // cancelled) and an open question is dismissed. User-interface thread only.
    void close();

private:
    bool ask(const QString &text);
    bool closing();

    QObject *m_context;
    std::function<void(TrayPicture)> m_showTrayPicture;
    std::function<void()> m_showGlance;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_closing = false;
    QPointer<QMessageBox> m_question;
};

} // namespace lark::ui
