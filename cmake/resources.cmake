# Turns the resource list (resources/resources.cmake) into what each build compiles:
# a .rc file of real resources for Windows, a table of embedded bytes for Linux.
include(${PROJECT_SOURCE_DIR}/resources/resources.cmake)

# driftglass_resource_sources(OUT NAME ENTRIES...): the generated source for one set of
# resources; each entry is "TYPE ID FILE", FILE absolute or below resources/.
function(driftglass_resource_sources out_sources name)
  set(files "")
  set(resource_script "// Generated from resources/resources.cmake.\n")
  string(CONCAT embedded "// Generated from resources/resources.cmake: the bytes of every resource.\n"
                        "#include \"linux/embedded_resources.h\"\n\n")
  set(table "")
  set(index 0)
  foreach(entry IN LISTS ARGN)
    separate_arguments(parts UNIX_COMMAND "${entry}")
    list(GET parts 0 type)
    list(GET parts 1 id)
    list(GET parts 2 file)
    get_filename_component(path "${file}" ABSOLUTE BASE_DIR "${PROJECT_SOURCE_DIR}/resources")
    list(APPEND files "${path}")
    string(APPEND resource_script "${id} ${type} \"${path}\"\n")
    # Each embedded resource is followed by one zero byte, which is not counted in its size.
    string(APPEND embedded
      "__asm__(\".section .rodata\\n.balign 16\\ndriftglass_resource_${index}:\\n"
      ".incbin \\\"${path}\\\"\\ndriftglass_resource_${index}_end:\\n.byte 0\\n.previous\\n\");\n"
      "extern \"C\" const unsigned char driftglass_resource_${index}[];\n"
      "extern \"C\" const unsigned char driftglass_resource_${index}_end[];\n")
    string(APPEND table "    {\"${type}\", ${id}, driftglass_resource_${index}, "
                        "driftglass_resource_${index}_end},\n")
    math(EXPR index "${index} + 1")
  endforeach()
  if(WIN32)
    set(text "${resource_script}")
    set(generated "${CMAKE_BINARY_DIR}/generated/${name}.rc")
  else()
    string(APPEND embedded "\nnamespace driftglass {\n\n"
                           "const EmbeddedResource kEmbeddedResources[] = {\n${table}};\n"
                           "const size_t kEmbeddedResourceCount = ${index};\n\n"
                           "}  // namespace driftglass\n")
    set(text "${embedded}")
    set(generated "${CMAKE_BINARY_DIR}/generated/${name}.cpp")
  endif()
  file(GENERATE OUTPUT "${generated}" CONTENT "${text}")
  set_source_files_properties("${generated}" PROPERTIES OBJECT_DEPENDS "${files}" GENERATED TRUE)
  set(${out_sources} "${generated}" PARENT_SCOPE)
endfunction()
