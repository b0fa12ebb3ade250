#pragma once

// The two halves of a test executable's main(), around the application object
// it creates: a QCoreApplication for the widget-free platform libraries (so a
// widget include there fails to build), a QApplication for the rest.

// A UTF-8 locale, the process's own ODBC configuration, runtime folder and
// settings file; before the application object and the first ODBC call.
void PrepareTestProcess();
// Runs every test with the platform created and the scripted interaction installed.
int RunPelvarTests(int& argc, char** argv);
