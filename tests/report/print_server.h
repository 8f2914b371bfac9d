#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace msr::test {

// A CUPS server of the test's own: its own folders and socket, one queue that prints
// into PDF files (cups-pdf), made the default destination. Nothing of the machine's own
// print system is used or changed, except for one configuration file of cups-pdf named
// after the queue, which goes again with the server. It takes root and Debian's cups
// and printer-driver-cups-pdf.
class PrintServer {
public:
    PrintServer();
    ~PrintServer();
    PrintServer(const PrintServer&) = delete;
    PrintServer& operator=(const PrintServer&) = delete;

    // Why the server cannot run here; empty once the queue accepts jobs.
    QString unavailable() const { return unavailable_; }
    // What clients put into CUPS_SERVER to reach it.
    QString socketPath() const { return root_.filePath(QStringLiteral("cups.sock")); }
    QString queueName() const { return queue_; }
    // Where the queue leaves the PDF files it prints.
    QString outputFolder() const { return root_.filePath(QStringLiteral("out")); }
    // The server's error log, for telling why a job did not come out.
    QString log() const;

private:
    bool writeConfiguration();
    bool start();
    bool addQueue();

    QTemporaryDir root_;
    QString queue_;
    QString pdfConfiguration_;
    QProcess server_;
    QString unavailable_;
};

} // namespace msr::test
