#include "cli/report_output.h"
#include "cli/run.h"

#include <QCoreApplication>
#include <QLocale>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    std::ios::sync_with_stdio(false);
    // The application object reads the user's locale (LC_ALL, LC_NUMERIC, LANG).
    QCoreApplication application(argc, argv);
    const std::string decimalSeparator = QLocale::system().decimalPoint().toStdString();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    try {
        return msr::cli::RunEvaluator(arguments, std::cin, std::cout, std::cerr, decimalSeparator);
    } catch (const std::exception& error) {
        std::cerr << msr::cli::WithFullStop(error.what()) << '\n';
        return msr::cli::kUsageOrInputFailed;
    } catch (...) {
        std::cerr << "Unerwarteter Fehler.\n";
        return msr::cli::kUsageOrInputFailed;
    }
}
