# Compiles the help project with chmcmd: cmake -DCHMCMD=... -DSOURCE_DIR=... -DWORK_DIR=...
# -DOUTPUT=... -P build_chm.cmake. chmcmd reports a missing input with exit code 217 and leaves a
# 0-byte file, and only warns about a link to a missing page; all of these fail the build here,
# and no help file is left behind.
file(REMOVE ${OUTPUT})
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(GLOB sources ${SOURCE_DIR}/*.hhp ${SOURCE_DIR}/*.hhc ${SOURCE_DIR}/*.hhk ${SOURCE_DIR}/*.htm
     ${SOURCE_DIR}/*.css)
file(COPY ${sources} DESTINATION ${WORK_DIR})

execute_process(COMMAND ${CHMCMD} QuireBinder.hhp
                WORKING_DIRECTORY ${WORK_DIR}
                RESULT_VARIABLE result
                OUTPUT_VARIABLE log
                ERROR_VARIABLE log)
set(compiled ${WORK_DIR}/QuireBinder.chm)
set(size 0)
if(EXISTS ${compiled})
    file(SIZE ${compiled} size)
endif()
if(NOT result EQUAL 0 OR size EQUAL 0 OR log MATCHES "Warning")
    file(REMOVE ${compiled})
    message(FATAL_ERROR "chmcmd failed (exit ${result}, ${size} bytes):\n${log}")
endif()
file(RENAME ${compiled} ${OUTPUT})
