# Makes the user guide's pictures: plays every scenario of examples/guide/
# with the built program on Qt's offscreen platform, each in a scratch
# folder of its own that holds a fresh copy of the sample card (with the
# example data of examples/ one folder up), and gathers the pictures they
# save (their images/ folder) into OUTPUT, replacing the pictures there. A
# scenario that stops on a line fails the run with the program's message
# naming the line. With GUIDE, it also fails when the
# guide shows a picture that no scenario made, or a picture is made that
# the guide does not show.
#
#   cmake -DPROGRAM=build/sorvik-ems -DSOURCE_DIR=. -DWORK_DIR=build/docs-work \
#         -DOUTPUT=docs/images [-DGUIDE=docs/USER-GUIDE.md] -P docs/make_pictures.cmake
#
# The docs target runs it into docs/images/; a test runs it into the build
# folder.

cmake_minimum_required(VERSION 3.25)

foreach(var PROGRAM SOURCE_DIR WORK_DIR OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "make_pictures.cmake needs -D${var}=...")
  endif()
  get_filename_component(${var} ${${var}} ABSOLUTE)
endforeach()

file(GLOB scenarios ${SOURCE_DIR}/examples/guide/*.scn)
if(NOT scenarios)
  message(FATAL_ERROR "no scenarios in ${SOURCE_DIR}/examples/guide")
endif()

file(REMOVE_RECURSE ${WORK_DIR})
# The example recordings and streams beside the scenarios' folders, where
# they are beside examples/guide/ in the project and when installed.
file(GLOB example_data ${SOURCE_DIR}/examples/*.csv)
file(COPY ${example_data} DESTINATION ${WORK_DIR})
set(made)
set(made_files)
foreach(scenario ${scenarios})
  get_filename_component(name ${scenario} NAME_WE)
  set(dir ${WORK_DIR}/${name})
  file(COPY ${SOURCE_DIR}/examples/guide/ DESTINATION ${dir})
  file(COPY ${SOURCE_DIR}/assets/SDCARD DESTINATION ${dir})
  # A configuration folder of its own, so a zoom remembered by the user's
  # program does not change the window pictures; the scenario's folder as
  # the home folder, so the status bar names the card "~/SDCARD" wherever
  # the pictures are made.
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=${WORK_DIR}/config HOME=${dir}
            ${PROGRAM} --script ${name}.scn
    WORKING_DIRECTORY ${dir}
    RESULT_VARIABLE status
    ERROR_VARIABLE errors
    TIMEOUT 300)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "examples/guide/${name}.scn failed (${status}):\n${errors}")
  endif()
  file(GLOB pictures RELATIVE ${dir}/images ${dir}/images/*.png)
  if(NOT pictures)
    message(FATAL_ERROR "examples/guide/${name}.scn made no picture")
  endif()
  foreach(picture ${pictures})
    if(picture IN_LIST made)
      message(FATAL_ERROR "examples/guide/${name}.scn makes ${picture}, as another scenario does")
    endif()
    list(APPEND made ${picture})
    list(APPEND made_files ${dir}/images/${picture})
  endforeach()
endforeach()

file(GLOB old ${OUTPUT}/*.png)
if(old)
  file(REMOVE ${old})
endif()
file(COPY ${made_files} DESTINATION ${OUTPUT})
list(LENGTH made count)
message(STATUS "${count} pictures in ${OUTPUT}")

if(DEFINED GUIDE)
  file(READ ${GUIDE} text)
  string(REGEX MATCHALL "images/[A-Za-z0-9_.-]+\\.png" shown "${text}")
  set(shown_names)
  foreach(link ${shown})
    get_filename_component(picture ${link} NAME)
    list(APPEND shown_names ${picture})
    if(NOT picture IN_LIST made)
      message(FATAL_ERROR "${GUIDE} shows ${link}, which no scenario makes")
    endif()
  endforeach()
  foreach(picture ${made})
    if(NOT picture IN_LIST shown_names)
      message(FATAL_ERROR "${picture} is made but ${GUIDE} does not show it")
    endif()
  endforeach()
endif()
