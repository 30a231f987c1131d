#pragma once

class QApplication;

namespace Startup {

// Software rendering, the application object, Italian standard dialogs, the
// process-wide formats, the persistent windows, then the event loop.
int run(int argc, char **argv);

// What run() does once the application object exists; tests call it too.
void prepareApplication(QApplication &app);

} // namespace Startup
