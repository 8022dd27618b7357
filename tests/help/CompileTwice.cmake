# Compiles the help project twice through the build's own step, with the same SOURCE_DATE_EPOCH,
# in two folders whose paths differ in length, and fails unless both files are byte for byte alike.
set(ENV{SOURCE_DATE_EPOCH} 1700000123)
foreach(run first second-with-a-longer-path)
    execute_process(COMMAND ${CMAKE_COMMAND} -DCHMCMD=${CHMCMD} -DPYTHON=${PYTHON} -DSOURCE_DIR=${SOURCE_DIR}
                            -DWORK_DIR=${WORK_DIR}/${run} -DOUTPUT=${WORK_DIR}/${run}.chm
                            -P ${SOURCE_DIR}/build_chm.cmake
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "compiling the help failed (${run})")
    endif()
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/first.chm
                        ${WORK_DIR}/second-with-a-longer-path.chm
                RESULT_VARIABLE different)
if(different)
    message(FATAL_ERROR "two compilations of the same help differ")
endif()
