#pragma once

#include <QDialog>

namespace lark::ui {

class CHyperLink;

// Product, version and maker, with a link to the maker's site and a picture that writes a
// mail to the maker.
class CAboutDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char *kMakerMail = "mailto:support@halvern.example";

    explicit CAboutDialog(bool simulated, QWidget *parent = nullptr);

    CHyperLink *webLink() const { return m_webLink; }
    CHyperLink *mailLink() const { return m_mailLink; }

private:
    CHyperLink *m_webLink = nullptr;
    CHyperLink *m_mailLink = nullptr;
};

} // namespace lark::ui
