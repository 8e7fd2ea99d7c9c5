# The English catalogues: translations/<name>_en.ts (kept in the repository,
# brought up to date by scripts/translations.py update) compiled by lrelease
# into <name>_en.qm. In the build tree they sit in apps/share/vantor/
# translations, which is the data directory the programs find beside their
# executables, and they are installed with the other data files.
find_package(Qt6 COMPONENTS LinguistTools REQUIRED)

set(VANTOR_TRANSLATIONS_DIR ${PROJECT_BINARY_DIR}/apps/share/vantor/translations)
set(VANTOR_CATALOGUES)
foreach(catalogue core gui vantor vantornet vantorload)
    set(ts ${PROJECT_SOURCE_DIR}/translations/${catalogue}_en.ts)
    set(qm ${VANTOR_TRANSLATIONS_DIR}/${catalogue}_en.qm)
    # The core's texts are keyed by the text itself (id-based), the windows'
    # by their class and text.
    set(idbased)
    if(catalogue STREQUAL "core")
        set(idbased -idbased)
    endif()
    add_custom_command(OUTPUT ${qm} COMMAND ${CMAKE_COMMAND} -E make_directory ${VANTOR_TRANSLATIONS_DIR}
                       COMMAND Qt6::lrelease ${idbased} -silent ${ts} -qm ${qm} DEPENDS ${ts} VERBATIM)
    list(APPEND VANTOR_CATALOGUES ${qm})
endforeach()
add_custom_target(vantor_translations ALL DEPENDS ${VANTOR_CATALOGUES})
install(FILES ${VANTOR_CATALOGUES} DESTINATION ${VANTOR_INSTALL_DATADIR}/translations)

# cmake --build build --target update_translations: new texts into the .ts files.
add_custom_target(update_translations COMMAND python3 ${PROJECT_SOURCE_DIR}/scripts/translations.py update
                                              --lupdate $<TARGET_FILE:Qt6::lupdate>
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} VERBATIM)
