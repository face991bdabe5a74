#pragma once

#include "gui/dialogs/dialog_template.h"
#include "gui/dialogs/exclamation_box.h"
#include "gui/dialogs/settings_record.h"
#include "lookup/instrument_directory.h"

#include <QDialog>

#include <map>

namespace lark::ui {

// The modal settings dialog. It touches no shared state: it works on its
// record, and refuses OK with a message while a field is out of its rules.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SettingsDialog(const SettingsRecord &record, QWidget *parent = nullptr);

    // Valid after OK; fields taken before a refused one have changed too.
    const SettingsRecord &record() const { return m_record; }
    // The code field lists the instruments of the directory what is typed matches.
    void offerCodes(DirectoryRequest request);
    // Replaces the message box that tells of a refused field.
    void setReporter(MessageReporter reporter) { m_report = std::move(reporter); }

    void accept() override;

private:
    class CodeLengthLimit;

    void setUpSlider();
    void showRecord();
    bool takeRecord();
    void enableByMode();

    SettingsRecord m_record;
    CodeLengthLimit *m_codeLimit;
    Controls m_controls;
    MessageReporter m_report = showExclamation;
};

} // namespace lark::ui
