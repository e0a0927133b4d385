#include "busyscope_app.h"
#include "checked_output.h"
#include "command_line.h"

#include <QApplication>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // Answered before Qt starts, so that no display is needed.
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (const std::optional<CommandLineAnswer> answer = AnswerBeforeStart(arguments))
        return PrintOrComplain("busyscope", answer->what, answer->text);

    QApplication app(argc, argv);
    CBusyscopeApp theApp;
    if (!theApp.InitInstance())
        return 1;
    return QApplication::exec();
}
