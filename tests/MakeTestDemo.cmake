# Makes the small demo database that the test processes copy. Removed first, so that each test run
# starts from data of the generator as it is now.
file(REMOVE_RECURSE "${DIR}")
execute_process(COMMAND "${SQL}" --create-demo "${DIR}" --scale 0.05 RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the test demo database could not be made (${rc})")
endif()
