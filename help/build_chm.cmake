# Compiles the help project with chmcmd: cmake -DCHMCMD=... -DSOURCE_DIR=... -DWORK_DIR=...
# -DOUTPUT=... -DPYTHON=... -P build_chm.cmake. chmcmd reports a missing input with exit code 217
# and leaves a 0-byte file, and only warns about a link to a missing page; all of these fail the
# build here, and no help file is left behind.
# chmcmd stamps the time of day it ran into the file; stamp_chm.py puts SOURCE_DATE_EPOCH's (or
# midnight's) in its place, so that the same sources give the same bytes.
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
set(epoch 0)
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(epoch $ENV{SOURCE_DATE_EPOCH})
endif()
execute_process(COMMAND ${PYTHON} ${SOURCE_DIR}/stamp_chm.py ${compiled} ${epoch} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    file(REMOVE ${compiled})
    message(FATAL_ERROR "the help file's time stamps could not be set")
endif()
file(RENAME ${compiled} ${OUTPUT})
