// Kalvo's entry point: prepares the application, builds and shows the main window, and
// runs the message loop.
#include <windows.h>

#include <memory>

#include "F01.h"
#include "ui/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Only the system folder is searched for DLLs: nothing planted beside the program loads.
  ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  ui::Application->Initialize();
  std::unique_ptr<TFKalvo> form;
  try {
    form = std::make_unique<TFKalvo>();
    ui::Application->MainForm = form.get();
    form->ShowAtStart();
  } catch (...) {
    // The window could not be built or shown: one report, then the process ends.
    ui::Application->HandleException(std::current_exception());
    ui::Application->MainForm = nullptr;
    form.reset();
    ui::Application->Finalize();
    return 0;
  }
  ui::Application->Run();
  ui::Application->MainForm = nullptr;
  form.reset();
  ui::Application->Finalize();
  return 0;
}
