# Precompiled headers: Qt's widget headers, and GoogleTest's for the tests, are most of what a
# translation unit of the windows or of a test parses. Each set is compiled once per build tree
# by one target and reused by the targets that have the same compile flags and definitions.

set(TALVORA_PCH_WIDGETS
  <QApplication> <QCheckBox> <QCloseEvent> <QCoreApplication> <QElapsedTimer> <QEventLoop>
  <QGroupBox> <QLabel> <QLineEdit> <QMessageBox> <QObject> <QPainter> <QPalette>
  <QPlainTextEdit> <QPointer> <QPushButton> <QRadioButton> <QString> <QStringList> <QTabBar>
  <QTabWidget> <QTextDocument> <QTimer> <QWidget>
  <algorithm> <array> <chrono> <cstdint> <functional> <map> <memory> <optional> <string>
  <string_view> <utility> <vector>
)
set(TALVORA_PCH_TESTS ${TALVORA_PCH_WIDGETS} <QTest> <gmock/gmock.h> <gtest/gtest.h>)

# talvora_share_precompiled_headers(<owner> HEADERS <headers...> [USERS <targets...>]): compiles
# the headers for <owner> and lets each existing target of USERS reuse them.
function(talvora_share_precompiled_headers owner)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "HEADERS;USERS")
  if(NOT TARGET ${owner})
    return()
  endif()
  target_precompile_headers(${owner} PRIVATE ${arg_HEADERS})
  foreach(user ${arg_USERS})
    if(TARGET ${user})
      target_precompile_headers(${user} REUSE_FROM ${owner})
    endif()
  endforeach()
endfunction()
