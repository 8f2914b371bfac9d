// mietspiegel-auswertung: the evaluator's standard C++ logic (msr_cli), handed what needs
// Qt: the locale's decimal separator and the PDF writer of the report page.
#include "cli/command_line.h"
#include "cli/edition_files.h"
#include "cli/progress.h"
#include "cli/run.h"
#include "cli/zlib_inflating.h"
#include "evaluation/answers/visible_text.h"
#include "evaluation/entry.h"
#include "evaluation/rent_index/admission.h"
#include "report/report_output.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>

#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

QtMessageHandler gQtMessages = nullptr;

// Run outside a desktop session the program has no runtime directory; Qt's note about
// it is no news to the user of a command.
void WithoutSessionNotes(QtMsgType type, const QMessageLogContext& context,
                         const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    gQtMessages(type, context, message);
}

bool WritesPdf(const std::vector<std::string>& arguments) {
    const msr::cli::CommandLine commandLine = msr::cli::ParseCommandLine(arguments);
    return commandLine.ok() && !commandLine.options.pdfFile.empty();
}

// The application object reads the user's locale (LC_ALL, LC_NUMERIC, LANG); it gets no
// arguments, so that Qt takes none of the evaluator's for its own (-platform, -style).
// Writing PDF lays text out with fonts, which takes a GUI application. The pages need no
// display, so the offscreen platform always serves and lays them out the same everywhere;
// a platform inherited from a desktop session (xcb in an ssh or cron job) could only make
// Qt abort at start.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv, bool writesPdf) {
    if (!writesPdf)
        return std::make_unique<QCoreApplication>(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    gQtMessages = qInstallMessageHandler(WithoutSessionNotes);
    return std::make_unique<QGuiApplication>(argc, argv);
}

void WritePdf(const msr::ReportDocument& document, const std::string& file) {
    msr::report::WriteReportPdf(document, QFile::decodeName(QByteArray::fromStdString(file)));
}

} // namespace

int main(int argc, char* argv[]) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    int applicationArgc = 1;
    const auto application = MakeApplication(applicationArgc, argv, WritesPdf(arguments));
    msr::cli::Surroundings surroundings;
    surroundings.decimalSeparator = QLocale::system().decimalPoint().toStdString();
    surroundings.progress = msr::cli::StandardErrorTerminal(std::cerr);
    surroundings.writePdf = WritePdf;
    surroundings.inflate = msr::cli::InflateWithZlib;
    surroundings.installedEditionFolders =
        msr::cli::InstalledEditionFolders(std::getenv("XDG_DATA_DIRS"));
    try {
        return msr::cli::RunEvaluator(arguments, std::cin, std::cout, std::cerr, surroundings);
    } catch (...) {
        // The reason a PDF cannot be written quotes its file name.
        std::cerr << msr::WithFullStop(
                         msr::WithVisibleControls(msr::FailureMessage(std::current_exception())))
                  << '\n';
        return msr::cli::kUsageOrInputFailed;
    }
}
