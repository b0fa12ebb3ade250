cmake_minimum_required(VERSION 3.25)
# Checks the include graph of src/: every library includes only from the
# libraries below it, the widget-free libraries include no widget header, and
# the ODBC headers stay inside appcore's ODBC files.
# Run as: cmake -DSRC=<repo>/src -P layers.cmake

# The libraries a folder may include from, besides itself.
set(below_basekit "")
set(below_appcore basekit)
set(below_opkit basekit appcore)
set(platform basekit appcore opkit)
set(kits designkit dataviewkit treedesignkit formdesignkit structdesignkit schedulerkit gridkit)
set(below_kit ${platform} ${kits})
set(below_model ${platform})
set(below_explorer ${platform} ${kits} model)
set(below_commonfolder ${platform} model)
set(below_subsystem ${platform} ${kits} model explorer commonfolder)
set(below_databases ${platform} ${kits} model explorer commonfolder
    structures localres exchange dataview query)
set(below_app ${below_databases} databases)
set(below_cli ${platform} model commonfolder structures localres exchange databases)
set(subsystems structures localres exchange dataview query)
set(widget_free basekit appcore opkit model)

# The library of a file (relative to src/) or of an include path.
function(library_of path out)
  string(REGEX MATCH "^[^/]+" first "${path}")
  if(first STREQUAL "app")
    if(path MATCHES "^app/platform/([^/]+)/")
      set(first "${CMAKE_MATCH_1}")
    endif()
  endif()
  if(path MATCHES "^(databases/)?(commonfolder|aliascounter)\\.(h|cpp)$")
    set(first commonfolder)
  endif()
  set(${out} "${first}" PARENT_SCOPE)
endfunction()

set(widget_headers QWidget QMenu QAction QApplication QDialog QMessageBox QFileDialog QLabel
    QPushButton QLineEdit QComboBox QTreeWidget QTreeView QListView QTableView QToolBar
    QMainWindow QProgressBar QBoxLayout QVBoxLayout QHBoxLayout QGridLayout QFormLayout
    QDialogButtonBox QCheckBox QSplitter QHeaderView QAbstractItemView QStyle QScrollArea
    QTextEdit QPlainTextEdit QGroupBox QListWidget QStatusBar QMenuBar QToolButton QSpinBox
    QRadioButton QTabWidget QStackedWidget QtWidgets)
list(JOIN widget_headers "|" widget_alternatives)

set(errors "")
file(GLOB_RECURSE files RELATIVE "${SRC}" "${SRC}/*.h" "${SRC}/*.cpp")
foreach(file IN LISTS files)
  get_filename_component(name "${file}" NAME)
  library_of("${file}" lib)
  if(lib IN_LIST kits)
    set(allowed ${below_kit})
  elseif(lib IN_LIST subsystems)
    set(allowed ${below_subsystem})
  elseif(DEFINED below_${lib})
    set(allowed ${below_${lib}})
  else()
    continue()
  endif()

  file(STRINGS "${SRC}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS includes)
    if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      set(target "${CMAKE_MATCH_1}")
      if(NOT target MATCHES "/")
        continue()  # beside the file: the same library
      endif()
      if(target MATCHES "^odbc/")
        # The driver-manager binding brings the ODBC headers along.
        if(NOT (name MATCHES "\\.cpp$" OR file MATCHES "/odbc/"))
          string(APPEND errors "${file}: includes ${target}, which brings the ODBC headers\n")
        endif()
        continue()
      endif()
      library_of("${target}" tlib)
      if(NOT tlib STREQUAL lib AND NOT tlib IN_LIST allowed)
        string(APPEND errors "${file}: ${lib} includes ${target} (${tlib})\n")
      endif()
    elseif(line MATCHES "#[ \t]*include[ \t]*<([^>]+)>")
      set(target "${CMAKE_MATCH_1}")
      if(lib IN_LIST widget_free AND target MATCHES "^(Qt(Widgets|Gui)/)?(${widget_alternatives})$")
        string(APPEND errors "${file}: the widget-free ${lib} includes <${target}>\n")
      endif()
      if(target MATCHES "^(sql|sqlext|sqltypes|sqlucode)\\.h$")
        if(NOT (lib STREQUAL "appcore" AND (name MATCHES "\\.cpp$" OR file MATCHES "/odbc/")))
          string(APPEND errors "${file}: <${target}> outside appcore's ODBC files\n")
        endif()
      endif()
    endif()
  endforeach()
endforeach()

if(errors)
  message(FATAL_ERROR "Include layering broken:\n${errors}")
endif()
message(STATUS "Include layering holds for ${SRC}")
