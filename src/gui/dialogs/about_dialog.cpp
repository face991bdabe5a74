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
    link->setPixmap(QIcon(picturePath(BitmapId::MailPicture)).pixmap(QSize(56, 27)));
    link->setAccessibleName(QStringLiteral("E-mail"));
    return link;
}

} // namespace

AboutDialog::AboutDialog(FigureSource source, const QString &siteUrl, QWidget *parent)
    : QDialog(parent)
{
    loadResources();
    using C = AboutControl;
    const auto controls = buildDialog(this, aboutDialogTemplate(source),
                                      {{C::WebLink, makeLink}, {C::MailLink, makeMailPicture}});
    m_webLink = control<HyperLink>(controls, C::WebLink);
    m_mailLink = control<HyperLink>(controls, C::MailLink);
    connect(control<QPushButton>(controls, C::Ok), &QPushButton::clicked, this, &QDialog::accept);

    m_mailLink->attach();
    m_webLink->attach();
    m_webLink->setTarget(siteUrl);
    m_mailLink->setTarget(QString::fromLatin1(kMakerMail));
    m_mailLink->changeLinkStyle(0, HyperLink::LinkFollowOnPress, true);
    m_webLink->changeLinkStyle(0, HyperLink::LinkHoverColour, true);
    m_mailLink->changeLinkStyle(0, HyperLink::LinkHoverColour, true);
    control<QPushButton>(controls, C::Ok)->setFocus();
}

} // namespace lark::ui
