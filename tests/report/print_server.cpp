#include "print_server.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>

#include <unistd.h>

namespace msr::test {
namespace {

bool WriteFile(const QString& fileName, const QString& text) {
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(text.toUtf8()) == text.toUtf8().size();
}

// What the program says on stdout, in the C locale; empty when it fails.
QString Answer(const QString& program, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

bool Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

const char* const kCupsPdfDriver = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
const char* const kCupsPdfBackend = "/usr/lib/cups/backend/cups-pdf";

} // namespace

PrintServer::PrintServer()
    : queue_(QStringLiteral("MsrTest%1").arg(QCoreApplication::applicationPid())) {
    if (geteuid() != 0)
        unavailable_ = QStringLiteral("the print server and cups-pdf take root");
    else if (QStandardPaths::findExecutable(QStringLiteral("cupsd"), {QStringLiteral("/usr/sbin")})
                 .isEmpty() ||
             !QFileInfo::exists(QLatin1String(kCupsPdfBackend)))
        unavailable_ = QStringLiteral("cups and printer-driver-cups-pdf are not installed");
    else if (!root_.isValid() || !writeConfiguration())
        unavailable_ = QStringLiteral("the server's folders cannot be made");
    else if (!start())
        unavailable_ = QStringLiteral("cupsd does not start: ") + log();
    else if (!addQueue())
        unavailable_ = QStringLiteral("lpadmin cannot add the queue: ") + log();
}

PrintServer::~PrintServer() {
    if (server_.state() != QProcess::NotRunning) {
        server_.terminate();
        if (!server_.waitForFinished(10000))
            server_.kill();
        server_.waitForFinished(5000);
    }
    if (!pdfConfiguration_.isEmpty())
        QFile::remove(pdfConfiguration_);
}

bool PrintServer::writeConfiguration() {
    const QDir root(root_.path());
    for (const char* folder : {"log", "cache", "state", "spool", "tmp", "ppd", "out", "pdfspool"})
        if (!root.mkpath(QLatin1String(folder)))
            return false;
    // The spool folder is the print system's: the jobs' files are handed to its user.
    Run(QStringLiteral("chown"),
        {QStringLiteral("root:lp"), root_.filePath(QStringLiteral("spool"))});
    Run(QStringLiteral("chmod"), {QStringLiteral("0775"), root_.filePath(QStringLiteral("spool"))});
    Run(QStringLiteral("chmod"), {QStringLiteral("0755"), root_.path()});
    // The filters run as the print system's user and need a place for their files.
    Run(QStringLiteral("chmod"), {QStringLiteral("1777"), root_.filePath(QStringLiteral("tmp"))});
    const QString server =
        QStringLiteral("Listen %1\n"
                       "LogLevel warn\n"
                       "Browsing No\n"
                       "WebInterface No\n"
                       "DefaultAuthType None\n"
                       "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                       "<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                       "  </Limit>\n</Policy>\n")
            .arg(socketPath());
    const QString files = QStringLiteral("ServerRoot %1\n"
                                         "AccessLog %1/log/access_log\n"
                                         "ErrorLog %1/log/error_log\n"
                                         "PageLog %1/log/page_log\n"
                                         "CacheDir %1/cache\n"
                                         "StateDir %1/state\n"
                                         "RequestRoot %1/spool\n"
                                         "TempDir %1/tmp\n"
                                         "ServerBin /usr/lib/cups\n"
                                         "DataDir /usr/share/cups\n"
                                         "DocumentRoot /usr/share/cups/doc-root\n"
                                         "User lp\nGroup lp\nSystemGroup root\n")
                              .arg(root_.path());
    // cups-pdf reads its settings from /etc/cups, from a file named after the device.
    pdfConfiguration_ = QStringLiteral("/etc/cups/cups-pdf-%1.conf").arg(queue_);
    const QString pdf = QStringLiteral("Out %1\nAnonDirName %1\nSpool %2\nGrp root\n"
                                       "Log %3\nLogType 3\n")
                            .arg(outputFolder(), root_.filePath(QStringLiteral("pdfspool")),
                                 root_.filePath(QStringLiteral("log")));
    return WriteFile(root_.filePath(QStringLiteral("cupsd.conf")), server) &&
           WriteFile(root_.filePath(QStringLiteral("cups-files.conf")), files) &&
           WriteFile(pdfConfiguration_, pdf);
}

bool PrintServer::start() {
    server_.setProcessChannelMode(QProcess::MergedChannels);
    server_.start(QStringLiteral("/usr/sbin/cupsd"),
                  {QStringLiteral("-f"), QStringLiteral("-c"),
                   root_.filePath(QStringLiteral("cupsd.conf")), QStringLiteral("-s"),
                   root_.filePath(QStringLiteral("cups-files.conf"))});
    if (!server_.waitForStarted(10000))
        return false;
    // Ready once the scheduler answers on its socket. lpstat exits with 0 either way and
    // says "scheduler is not running" while the socket is not there yet: its words tell.
    return QTest::qWaitFor(
        [this] {
            return server_.state() == QProcess::Running &&
                   Answer(QStringLiteral("lpstat"),
                          {QStringLiteral("-h"), socketPath(), QStringLiteral("-r")})
                       .startsWith(QLatin1String("scheduler is running"));
        },
        30000);
}

bool PrintServer::addQueue() {
    const QString host = socketPath();
    return Run(QStringLiteral("lpadmin"),
               {QStringLiteral("-h"), host, QStringLiteral("-p"), queue_, QStringLiteral("-v"),
                QStringLiteral("cups-pdf:/") + queue_, QStringLiteral("-P"),
                QLatin1String(kCupsPdfDriver), QStringLiteral("-o"), QStringLiteral("PageSize=A4"),
                // The driver turns the job into PostScript and back into PDF; through
                // poppler's cairo renderer the text stays text that can be read back.
                QStringLiteral("-o"), QStringLiteral("pdftops-renderer-default=pdftocairo"),
                QStringLiteral("-E")}) &&
           Run(QStringLiteral("lpadmin"),
               {QStringLiteral("-h"), host, QStringLiteral("-d"), queue_}) &&
           Run(QStringLiteral("cupsenable"), {QStringLiteral("-h"), host, queue_}) &&
           Run(QStringLiteral("cupsaccept"), {QStringLiteral("-h"), host, queue_});
}

QString PrintServer::log() const {
    QString text = QString::fromUtf8(const_cast<QProcess&>(server_).readAll());
    QFile errors(root_.filePath(QStringLiteral("log/error_log")));
    if (errors.open(QIODevice::ReadOnly))
        text += QString::fromUtf8(errors.readAll());
    return text.right(3000);
}

} // namespace msr::test
