#include "about_dialog.h"

#include "forms.h"
#include "hyperlink.h"

#include <QIcon>
#include <QPushButton>

namespace lark::ui {
namespace {

QWidget *makeLink(const ControlTemplate &control, QWidget *parent)
{
    return new CHyperLink(QString::fromUtf8(control.text), parent);
}

QWidget *makeMailPicture(const ControlTemplate &, QWidget *parent)
{
    auto *link = new CHyperLink(QString(), parent);
    link->setPixmap(QIcon(QStringLiteral(":/res/about-131.png")).pixmap(QSize(56, 27)));
    link->setAccessibleName(QStringLiteral("E-mail"));
    return link;
}

} // namespace

CAboutDialog::CAboutDialog(bool simulated, QWidget *parent)
    : QDialog(parent)
{
    loadResources();
    const auto controls
        = buildDialog(this, aboutDialogTemplate(simulated),
                      {{ids::kWebLink, makeLink}, {ids::kMailLink, makeMailPicture}});
    m_webLink = control<CHyperLink>(controls, ids::kWebLink);
    m_mailLink = control<CHyperLink>(controls, ids::kMailLink);
    connect(control<QPushButton>(controls, ids::kOk), &QPushButton::clicked, this,
            &QDialog::accept);

    m_mailLink->attach();
    m_webLink->attach();
    m_mailLink->setTarget(QString::fromLatin1(kMakerMail));
    m_mailLink->changeLinkStyle(0, CHyperLink::LinkFollowOnPress, true);
    m_webLink->changeLinkStyle(0, CHyperLink::LinkHoverColour, true);
    m_mailLink->changeLinkStyle(0, CHyperLink::LinkHoverColour, true);
    control<QPushButton>(controls, ids::kOk)->setFocus();
}

} // namespace lark::ui
