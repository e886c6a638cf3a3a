# The install steps that need the prefix the files go to, which only install
# time knows (cpack and `cmake --install --prefix` choose their own).
# Set by the caller: FOSDAT_INSTALL_STEP (viewer or sample), FOSDAT_ENTRY_TEMPLATE,
# FOSDAT_APP_ID, FOSDAT_BINDIR, FOSDAT_DATADIR; for the viewer also FOSDAT_MANDIR,
# PROJECT_DESCRIPTION, FOSDAT_PROGRAMS and FOSDAT_STRIP.
foreach(dir BINDIR DATADIR MANDIR)
    if(DEFINED FOSDAT_${dir})
        cmake_path(ABSOLUTE_PATH FOSDAT_${dir} BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}"
                   NORMALIZE OUTPUT_VARIABLE ${dir})
    endif()
endforeach()
set(dest "$ENV{DESTDIR}")

macro(record file)
    message(STATUS "Installing: ${file}")
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${file}")
endmacro()

# The desktop entry names the launcher by its full path, so that it shows and
# starts even where the prefix's bin is not on the session's PATH.
set(FOSDAT_LAUNCHER "${BINDIR}/fosdat-launch")
set(FOSDAT_LAUNCHER_EXEC "${FOSDAT_LAUNCHER}")
if(FOSDAT_LAUNCHER MATCHES " ")
    set(FOSDAT_LAUNCHER_EXEC "\"${FOSDAT_LAUNCHER}\"")
endif()
cmake_path(GET FOSDAT_ENTRY_TEMPLATE STEM LAST_ONLY entry_name)
set(entry "${dest}${DATADIR}/applications/${entry_name}")
configure_file("${FOSDAT_ENTRY_TEMPLATE}" "${entry}" @ONLY)
record("${entry}")

if(FOSDAT_INSTALL_STEP STREQUAL viewer)
    # The lower-case command, and its manual pages, beside the program's own.
    file(CREATE_LINK Fosdat "${dest}${BINDIR}/fosdat" SYMBOLIC)
    record("${dest}${BINDIR}/fosdat")
    foreach(pages IN ITEMS man1 ru/man1)
        file(CREATE_LINK Fosdat.1.gz "${dest}${MANDIR}/${pages}/fosdat.1.gz" SYMBOLIC)
        record("${dest}${MANDIR}/${pages}/fosdat.1.gz")
    endforeach()
    # Stripped installs (cpack, `cmake --install --strip`) also drop the
    # compiler's version notes, which no one running the programs needs.
    if(CMAKE_INSTALL_DO_STRIP)
        foreach(program IN LISTS FOSDAT_PROGRAMS)
            execute_process(COMMAND "${FOSDAT_STRIP}" --remove-section=.comment
                                    "${dest}${BINDIR}/${program}" COMMAND_ERROR_IS_FATAL ANY)
        endforeach()
    endif()
endif()
