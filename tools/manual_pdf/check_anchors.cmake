# cmake -DHTML=<file> -P check_anchors.cmake
# The help window opens the manual at these anchors (one per calculator, and
# the topics the dialogs' "Aide" buttons name): each must be present, once.
set(anchors standard scientifique statistique geometrique conversion
            documents memoires dossiers demarrage impression)
file(READ "${HTML}" text)
set(missing)
foreach(anchor IN LISTS anchors)
  set(tag "<a name=\"${anchor}\">")
  string(FIND "${text}" "${tag}" first)
  string(FIND "${text}" "${tag}" last REVERSE)
  if(first EQUAL -1)
    list(APPEND missing "${anchor} (absent)")
  elseif(NOT first EQUAL last)
    list(APPEND missing "${anchor} (more than once)")
  endif()
endforeach()
if(missing)
  list(JOIN missing ", " text)
  message(FATAL_ERROR "help anchors wrong in ${HTML}: ${text}")
endif()
message(STATUS "all help anchors present in ${HTML}")
