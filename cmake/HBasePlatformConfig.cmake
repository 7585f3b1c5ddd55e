# The instrument's platform libraries as imported targets named like the stand-ins in platform/:
# elfclient (parameter-service client), chstd (channel standards), quenjson (JSON reader) and
# persistentlog. Point HBASE_PLATFORM_ROOT at the instrument SDK's sysroot prefix (default: the
# toolchain's), or set HBASE_<NAME>_LIBRARY and HBASE_<NAME>_INCLUDE_DIR one by one.
set(HBASE_PLATFORM_ROOT "" CACHE PATH "Prefix of the instrument's platform libraries")

set(_hbase_platform_libs
  "elfclient|elfclientinterface.h|Qt::Core,Qt::DBus"
  "chstd|chstd.h|Qt::Core"
  "quenjson|quenjsondocument.h|Qt::Core"
  "persistentlog|persistentlog.h|Qt::Core")

set(HBasePlatform_FOUND TRUE)
foreach(entry ${_hbase_platform_libs})
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 name)
  list(GET parts 1 header)
  list(GET parts 2 deps)
  string(REPLACE "," ";" deps "${deps}")
  string(TOUPPER ${name} upper)
  find_library(HBASE_${upper}_LIBRARY NAMES ${name} HINTS ${HBASE_PLATFORM_ROOT} PATH_SUFFIXES lib)
  find_path(HBASE_${upper}_INCLUDE_DIR ${header} HINTS ${HBASE_PLATFORM_ROOT}
            PATH_SUFFIXES include include/${name})
  if(NOT HBASE_${upper}_LIBRARY OR NOT HBASE_${upper}_INCLUDE_DIR)
    set(HBasePlatform_FOUND FALSE)
    set(HBasePlatform_NOT_FOUND_MESSAGE "the instrument's ${name} library or its ${header} was not found")
    break()
  endif()
  add_library(${name} UNKNOWN IMPORTED)
  set_target_properties(${name} PROPERTIES
    IMPORTED_LOCATION ${HBASE_${upper}_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${HBASE_${upper}_INCLUDE_DIR}
    INTERFACE_LINK_LIBRARIES "${deps}")
endforeach()
