#pragma once

#include "gui/forms.h"

#include <QDialog>

namespace lark::ui {

class HyperLink;

// Product, version and maker, with a link to the maker's site and a picture that writes a
// mail to the maker. The link shows the site's name and opens siteUrl, the site this run
// serves (the built-in server's home page when that runs); the name alone leads nowhere.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char *kMakerMail = "mailto:support@halvern.example";

    AboutDialog(FigureSource source, const QString &siteUrl, QWidget *parent = nullptr);

    HyperLink *webLink() const { return m_webLink; }
    HyperLink *mailLink() const { return m_mailLink; }

private:
    HyperLink *m_webLink = nullptr;
    HyperLink *m_mailLink = nullptr;
};

} // namespace lark::ui
