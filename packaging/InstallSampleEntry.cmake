# Writes the sample's desktop entry straight to its installed place, with its
# working directory set to the installed sample data set.
# Set by the caller: FOSDAT_ENTRY_TEMPLATE, FOSDAT_APP_ID, FOSDAT_DATADIR, FOSDAT_SAMPLE_SUBDIR.
cmake_path(ABSOLUTE_PATH FOSDAT_DATADIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}"
           NORMALIZE OUTPUT_VARIABLE datadir)
set(FOSDAT_SAMPLE_DIR "${datadir}/${FOSDAT_SAMPLE_SUBDIR}")
cmake_path(GET FOSDAT_ENTRY_TEMPLATE STEM LAST_ONLY entry_name)
set(entry "$ENV{DESTDIR}${datadir}/applications/${entry_name}")

message(STATUS "Installing: ${entry}")
configure_file("${FOSDAT_ENTRY_TEMPLATE}" "${entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")
