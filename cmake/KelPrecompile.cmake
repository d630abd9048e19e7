# Precompiled headers: the Qt and standard headers that nearly every file of the project includes
# are parsed once per precompiled header instead of once per file, which is most of the time a
# file takes to compile. A target gets them with one line:
#
#   kel_precompile(my_target)          # a library or a program
#   kel_precompile(my_tests TESTS)     # a test program: GoogleTest and QtTest as well
#
# Programs share one precompiled header, built once (test programs one per folder); a library
# gets one of its own, as libraries are compiled with other flags (hidden visibility, their own
# export define) that a precompiled header must share.
# Only headers from outside the project go in, so editing a project header rebuilds no more than
# before. -DKEL_PCH=OFF builds without them, which also shows a file that forgot an include.
option(KEL_PCH "Precompile the Qt and standard headers" ON)

# ccache caches a file that GCC compiles with a precompiled header only when the preprocessor
# marks where the header was included.
if(KEL_PCH AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-fpch-preprocess)
endif()

set(KEL_PCH_HEADERS
  <algorithm> <array> <cmath> <cstdint> <functional> <limits> <map> <memory> <optional> <string>
  <utility> <vector>
  <QByteArray> <QDateTime> <QDir> <QFile> <QFileInfo> <QHash> <QList> <QLocale> <QMetaEnum>
  <QMetaObject> <QMetaProperty> <QMetaType> <QObject> <QPointer> <QString> <QStringList> <QTimer>
  <QVariant>
  <QColor> <QFont> <QFontMetrics> <QIcon> <QKeyEvent> <QMouseEvent> <QPainter> <QPalette>
  <QAbstractScrollArea> <QAction> <QApplication> <QCheckBox> <QDialog> <QFrame> <QLabel>
  <QLineEdit> <QListWidget> <QMenu> <QPushButton> <QScrollBar> <QToolButton> <QVBoxLayout>
  <QWidget>
  <QSqlDatabase> <QSqlError> <QSqlQuery>)
set(KEL_PCH_TEST_HEADERS <gtest/gtest.h> <QSignalSpy> <QTemporaryDir> <QTest>)

# The target that builds the precompiled header a kind of program shares. It is a program itself
# (built with the flags of programs, which the header must match) and defines nothing that a
# program sharing the header lacks: a sharing target may add definitions, not change or drop
# them. QtTest defines the folder of the test program, so test programs share one header per
# folder.
function(_kel_pch_owner owner tests)
  if(TARGET ${owner})
    return()
  endif()
  set(_main ${CMAKE_BINARY_DIR}/${owner}.cpp)
  if(NOT EXISTS ${_main})
    file(WRITE ${_main} "// Builds the precompiled header that programs share.\nint main() { return 0; }\n")
  endif()
  add_executable(${owner} EXCLUDE_FROM_ALL ${_main})
  set_target_properties(${owner} PROPERTIES AUTOMOC OFF)
  target_link_libraries(${owner} PRIVATE Qt6::Widgets Qt6::Sql)
  set(_headers ${KEL_PCH_HEADERS})
  if(tests)
    target_link_libraries(${owner} PRIVATE GTest::gtest Qt6::Test)
    list(APPEND _headers ${KEL_PCH_TEST_HEADERS})
  else()
    # The project's options, not those a folder adds for its own programs: the folder that asks
    # first would otherwise decide them for all.
    get_directory_property(_options DIRECTORY ${PROJECT_SOURCE_DIR} COMPILE_OPTIONS)
    get_directory_property(_definitions DIRECTORY ${PROJECT_SOURCE_DIR} COMPILE_DEFINITIONS)
    set_target_properties(${owner} PROPERTIES COMPILE_OPTIONS "${_options}"
                                              COMPILE_DEFINITIONS "${_definitions}")
  endif()
  target_precompile_headers(${owner} PRIVATE ${_headers})
endfunction()

function(kel_precompile target)
  cmake_parse_arguments(_arg "TESTS" "" "" ${ARGN})
  if(NOT KEL_PCH)
    return()
  endif()
  get_target_property(_type ${target} TYPE)
  if(_type STREQUAL "EXECUTABLE")
    if(_arg_TESTS)
      file(RELATIVE_PATH _folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
      string(MAKE_C_IDENTIFIER "kel_pch_tests_${_folder}" _owner)
    else()
      set(_owner kel_pch_programs)
    endif()
    _kel_pch_owner(${_owner} "${_arg_TESTS}")
    target_precompile_headers(${target} REUSE_FROM ${_owner})
  else()
    target_precompile_headers(${target} PRIVATE ${KEL_PCH_HEADERS})
    if(_arg_TESTS)
      target_precompile_headers(${target} PRIVATE ${KEL_PCH_TEST_HEADERS})
    endif()
  endif()
endfunction()
