#include "gui/dialogs/about_dialog.h"

#include "gui/controls/hyperlink.h"
#include "gui/forms.h"

#include <QIcon>
#include <QPushButton>

namespace lark::ui {
namespace {

QWidget *makeLink(const ControlTemplate &control, QWidget *parent)
{
    return new HyperLink(QString::fromUtf8(control.text), parent);
}

QWidget *makeMailPicture(const ControlTemplate &, QWidget *parent)
{
    auto *link = new HyperLink(QString(), parent);
    link->setPixmap(QIcon(QStringLiteral(":/res/about-131.png")).pixmap(QSize(56, 27)));
    link->setAccessibleName(QStringLiteral("E-mail"));
    return link;
}

} // namespace

AboutDialog::AboutDialog(FigureSource source, QWidget *parent)
    : QDialog(parent)
{
    loadResources();
    const auto controls
        = buildDialog(this, aboutDialogTemplate(source),
                      {{ids::kWebLink, makeLink}, {ids::kMailLink, makeMailPicture}});
    m_webLink = control<HyperLink>(controls, ids::kWebLink);
    m_mailLink = control<HyperLink>(controls, ids::kMailLink);
    connect(control<QPushButton>(controls, ids::kOk), &QPushButton::clicked, this,
            &QDialog::accept);

    m_mailLink->attach();
    m_webLink->attach();
    m_mailLink->setTarget(QString::fromLatin1(kMakerMail));
    m_mailLink->changeLinkStyle(0, HyperLink::LinkFollowOnPress, true);
    m_webLink->changeLinkStyle(0, HyperLink::LinkHoverColour, true);
    m_mailLink->changeLinkStyle(0, HyperLink::LinkHoverColour, true);
    control<QPushButton>(controls, ids::kOk)->setFocus();
}

} // namespace lark::ui
