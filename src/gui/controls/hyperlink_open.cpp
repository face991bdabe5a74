// How a link target reaches a program on a Linux desktop, with the shell's result codes.
#include "gui/controls/hyperlink.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <map>
#include <optional>

namespace lark::ui {
namespace {

constexpr int kFileNotFound = 2;
constexpr int kNoAssociation = 31;
constexpr int kStarted = 33;

int openWithUrlOpener(const QString &target)
{
    const QUrl url = QUrl::fromUserInput(target);
    if (url.isEmpty() || (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())))
        return kFileNotFound;
    return QDesktopServices::openUrl(url) ? kStarted : kNoAssociation;
}

QString execLineOf(const QString &desktopFile)
{
    QFile file(desktopFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'['))
            inEntry = line == QLatin1String("[Desktop Entry]");
        else if (inEntry && line.startsWith(QLatin1String("Exec=")))
            return line.mid(5);
    }
    return {};
}

// The command line of the desktop's HTML handler, as its desktop entry gives it.
std::optional<QString> htmlHandlerCommand()
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {"query", "default", "text/html"});
    if (!query.waitForFinished(3000) || query.exitCode() != 0)
        return std::nullopt;
    const QString entry = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
    const QString path = entry.isEmpty()
        ? QString()
        : QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entry);
    const QString command = path.isEmpty() ? QString() : execLineOf(path);
    if (command.isEmpty())
        return std::nullopt;
    return command;
}

} // namespace

QString openFailureText(int code)
{
    static const std::map<int, const char *> texts {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30,
         "The DDE transaction could not\nbe completed because other DDE transactions\nwere "
         "being processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
    };
    const auto text = texts.find(code);
    return text != texts.end() ? QString::fromLatin1(text->second)
                               : QStringLiteral("Unknown Error (%1) occurred.").arg(code);
}

QString openFailureMessage(int code)
{
    return QStringLiteral("Can't open link:\n\n") + openFailureText(code);
}

QString cutAtPlaceholder(const QString &commandLine)
{
    static const QString placeholders[] = {"%u", "%U", "%f", "%F"};
    auto firstOf = [&](const QString &before, const QString &after) {
        qsizetype first = -1;
        for (const QString &p : placeholders) {
            const qsizetype at = commandLine.indexOf(before + p + after);
            if (at >= 0 && (first < 0 || at < first))
                first = at;
        }
        return first;
    };
    qsizetype cut = firstOf(QStringLiteral("\""), QStringLiteral("\""));
    if (cut < 0)
        cut = firstOf(QString(), QString());
    return cut < 0 ? commandLine : commandLine.left(cut);
}

int openWithDesktop(const QString &target)
{
    const int result = openWithUrlOpener(target);
    if (result > 32)
        return result;
    const std::optional<QString> command = htmlHandlerCommand();
    if (!command)
        return result;
    QStringList arguments = QProcess::splitCommand(cutAtPlaceholder(*command));
    if (arguments.isEmpty())
        return result;
    const QString program = arguments.takeFirst();
    // The target goes as one argument, so blanks in it cannot split it.
    arguments << target;
    return QProcess::startDetached(program, arguments) ? kStarted : kFileNotFound;
}

} // namespace lark::ui
