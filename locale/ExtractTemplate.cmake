# Extracts the texts marked with Translated(), TranslatedPlural() and N_() from the program's sources into a
# catalogue template. Run as a script, so that a file added since CMake last ran is read:
#   cmake -DSOURCE_DIR=<tree> -DOUTPUT=<file.pot> -DXGETTEXT=<xgettext> [-DVERSION=<v>]
#         -P ExtractTemplate.cmake
foreach(variable SOURCE_DIR OUTPUT XGETTEXT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "ExtractTemplate.cmake needs -D${variable}=...")
  endif()
endforeach()

# The program's folders: build trees, tests, benchmarks and fuzz targets hold no texts
# that a user sees.
file(GLOB entries RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
set(sources)
foreach(entry ${entries})
  if(NOT IS_DIRECTORY ${SOURCE_DIR}/${entry} OR entry MATCHES "^(build.*|tests|bench|fuzz|\\..*)$")
    continue()
  endif()
  file(GLOB_RECURSE found RELATIVE ${SOURCE_DIR}
       ${SOURCE_DIR}/${entry}/*.cpp ${SOURCE_DIR}/${entry}/*.h)
  list(APPEND sources ${found})
endforeach()
list(SORT sources)

execute_process(
  COMMAND ${XGETTEXT} --language=C++ --from-code=UTF-8 --keyword --keyword=Translated
          --keyword=N_ --keyword=TranslatedPlural:1,2 --add-comments=TRANSLATORS: --no-wrap --package-name=Brisko
          --package-version=${VERSION} --output=${OUTPUT} ${sources}
  WORKING_DIRECTORY ${SOURCE_DIR}
  RESULT_VARIABLE result
  ERROR_VARIABLE errors)
# The project has no bug address for translators; every other warning is shown.
string(REGEX REPLACE "[^\n]*warning: The option --msgid-bugs-address[^\n]*\n([ \t][^\n]*\n)*"
       "" errors "${errors}")
if(errors)
  message(WARNING "${errors}")
endif()
if(NOT result EQUAL 0)
  message(FATAL_ERROR "xgettext failed (${result})")
endif()
