// The window program: the application (its title is "順位丸", the caption
// of every message box), the main window, and the event loop.

#include <QIcon>

#include "application.h"
#include "main_window.h"
#include "settings.h"

int main(int argc, char** argv) {
  junmaru::window::Application app(argc, argv);
  app.setWindowIcon(QIcon(QStringLiteral(":/junmaru/icon.png")));
  // The settings file lives beside the executable.
  junmaru::window::MainWindow form(junmaru::ProgramSettingsPath());
  form.show();
  return app.exec();
}
