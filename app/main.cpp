#include "busyscope_app.h"
#include "checked_output.h"
#include "command_line.h"
#include "runtime_dir_notice.h"

#include <QApplication>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // Answered before Qt starts, so that no display is needed.
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (const std::optional<CommandLineAnswer> answer = AnswerBeforeStart(arguments))
        return PrintOrComplain("busyscope", answer->what, answer->text);
    const WindowArguments parsed = ParseWindowArguments(arguments);
    if (!parsed.error.empty()) {
        std::cerr << "busyscope: " << parsed.error << " (see busyscope --help)\n";
        return 2;
    }

    SilenceRuntimeDirNotice();
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Busyscope"));

    CBusyscopeApp theApp;
    if (!theApp.InitInstance(parsed.source))
        return 1;
    return QApplication::exec();
}
