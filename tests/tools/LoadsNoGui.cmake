# Fails when EXECUTABLE loads, itself or through the libraries it loads, Qt
# Gui or any of the display and font libraries Gui brings: a command-line
# tool starts without them, and runs where there is no display.
# Run as: cmake -DEXECUTABLE=path -P LoadsNoGui.cmake
set(forbidden libQt6Gui libQt6Widgets libX11 libxcb libGL libEGL libOpenGL libfontconfig
    libfreetype libxkbcommon)
execute_process(COMMAND ldd "${EXECUTABLE}" OUTPUT_VARIABLE loaded ERROR_VARIABLE errors
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "ldd ${EXECUTABLE} failed: ${errors}")
endif()
# What ldd lists is what the tool loads: Qt Core is always among it.
if(NOT loaded MATCHES "libQt6Core\\.so")
    message(FATAL_ERROR "${EXECUTABLE} does not load Qt Core; ldd said:\n${loaded}")
endif()
foreach(library IN LISTS forbidden)
    if(loaded MATCHES "(^|[\n\t ])(${library}[.-][^ \n]*)")
        message(SEND_ERROR "${EXECUTABLE} loads ${CMAKE_MATCH_2}")
    endif()
endforeach()
