#pragma once
// Where this build's own files are. The paths are compiled into one generated source of the build
// folder rather than into every test, so that the tests' objects do not depend on the folder the
// project was checked out in and a compiler cache can share them between checkouts.

namespace brennock::testing {

const char* SourceDir();        // the project's source folder
const char* BuildDir();         // the build folder
const char* CliPath();          // the built `brennock` program
const char* QbxmlDirDefault();  // the qbXML schemas and samples, unless BRENNOCK_QBXML_DIR says

}  // namespace brennock::testing
