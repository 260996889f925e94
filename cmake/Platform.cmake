# The `platform` target is what product code links to reach the Win32 functions it calls:
# the system import libraries on Windows, our own stand-ins in compat/ elsewhere.
add_library(platform INTERFACE)
if(WIN32)
  target_link_libraries(platform INTERFACE advapi32 user32 ole32 oleaut32 uuid)
else()
  add_subdirectory(${PROJECT_SOURCE_DIR}/compat ${PROJECT_BINARY_DIR}/compat)
  target_link_libraries(platform INTERFACE compat)
endif()

# `platform_xml` adds the XML engine: COM and MSXML on Windows, the libxml2-based stand-in here.
add_library(platform_xml INTERFACE)
target_link_libraries(platform_xml INTERFACE platform)
if(WIN32)
  target_link_libraries(platform_xml INTERFACE ole32 oleaut32 uuid)
elseif(TARGET compat_xml)
  target_link_libraries(platform_xml INTERFACE compat_xml)
endif()
