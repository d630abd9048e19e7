# The library's translation catalogs (Qt Linguist): translations/kel_<language>.ts hold every
# text the sources mark with QT_TRANSLATE_NOOP("Kel", ...). The build compiles them with lrelease
# into the library (resource folder :/kel/translations, where InstallTranslations finds them) and
# installs the compiled catalogs as well.
#
#   cmake --build build --target kel_update_translations
#
# refreshes the catalogs from the sources with lupdate: new texts come in unfinished, texts gone
# from the sources go out; translate the new ones in Qt Linguist (linguist translations/kel_de.ts).
# The test "translations" fails while a catalog misses a text.
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)

set(KEL_TRANSLATION_LANGUAGES de fr CACHE INTERNAL "The languages of the library's catalogs")
set(KEL_TS_FILES)
foreach(language ${KEL_TRANSLATION_LANGUAGES})
  list(APPEND KEL_TS_FILES ${PROJECT_SOURCE_DIR}/translations/kel_${language}.ts)
endforeach()

# One lupdate call for the refresh and for the test that checks the catalogs, so that both see
# the same texts: the library's sources, no line numbers (they would change with every edit).
set(KEL_LUPDATE_ARGUMENTS -silent -locations none -no-obsolete -no-ui-lines -extensions cpp,h
    ${PROJECT_SOURCE_DIR}/lib CACHE INTERNAL "How lupdate reads the library's texts")
add_custom_target(kel_update_translations
  COMMAND Qt6::lupdate ${KEL_LUPDATE_ARGUMENTS} -ts ${KEL_TS_FILES}
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  COMMENT "Refreshing the translation catalogs from the sources"
  VERBATIM)

qt_add_lrelease(kel_library TS_FILES ${KEL_TS_FILES} OPTIONS -silent
                QM_FILES_OUTPUT_VARIABLE KEL_QM_FILES)
qt_add_resources(kel_library kel_translations PREFIX /kel/translations
                 BASE ${CMAKE_CURRENT_BINARY_DIR} FILES ${KEL_QM_FILES})
install(FILES ${KEL_QM_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/kel/translations)
