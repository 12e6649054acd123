# qor_add_library(<name> DIRS <folder>... [WINDOWS] [OWN_DIRS <folder>...] [USES <qor library>...] [PUBLIC <target>...]
#                 [PRIVATE <target>...] [DEFINITIONS <definition>...] [SYSTEM_INCLUDES <folder>...])
#
# Builds the library qor_<name> from the .cpp files of its folders (the window folders */ui/ excepted)
# and makes each folder reachable as <qor/<folder>/...>. With WINDOWS it is the other way round: the
# sources are those of each folder's window folder <folder>/ui/ only, reachable as <qor/<folder>/ui/...>
# through the link the folder's own library made. OWN_DIRS are folders that belong to the library whole
# (dlg/ in qor_ui): all their .cpp files, reachable as <qor/<folder>/...>. PUBLIC names dependencies that the library's headers
# include, so that its users get them too. The sources are compiled once, into
# qor_<name>_objects, and linked twice: qor_<name> (alias Qor::<name>) is the shared library, which
# exports only what carries the library's export macro (QOR_BUILDING_<NAME> is defined while building it)
# and keeps the PRIVATE dependencies to itself; qor_<name>_testable is a static twin through which the
# tests reach the internals too. USES names the Qor libraries this one builds on ("core").
function(qor_add_library name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "WINDOWS" "" "DIRS;OWN_DIRS;USES;PUBLIC;PRIVATE;DEFINITIONS;SYSTEM_INCLUDES")
    set(sources)
    foreach(dir IN LISTS arg_DIRS)
        if(arg_WINDOWS)
            file(GLOB_RECURSE dir_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/ui/*.cpp)
        else()
            file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${dir} ${QOR_BUILD_INCLUDE_DIR}/qor/${dir} SYMBOLIC)
            file(GLOB_RECURSE dir_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
            list(FILTER dir_sources EXCLUDE REGEX "/ui/")
        endif()
        list(APPEND sources ${dir_sources})
    endforeach()
    foreach(dir IN LISTS arg_OWN_DIRS)
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${dir} ${QOR_BUILD_INCLUDE_DIR}/qor/${dir} SYMBOLIC)
        file(GLOB_RECURSE dir_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
        list(APPEND sources ${dir_sources})
    endforeach()
    set(uses_objects)
    set(uses_shared)
    set(uses_testable)
    foreach(used IN LISTS arg_USES)
        list(APPEND uses_objects qor_${used}_objects)
        list(APPEND uses_shared qor_${used})
        list(APPEND uses_testable qor_${used}_testable)
    endforeach()
    string(TOUPPER ${name} upper)

    set(objects qor_${name}_objects)
    add_library(${objects} OBJECT ${sources})
    target_include_directories(${objects} PUBLIC ${QOR_BUILD_INCLUDE_DIR})
    target_include_directories(${objects} SYSTEM PRIVATE ${arg_SYSTEM_INCLUDES})
    target_compile_definitions(${objects} PRIVATE QOR_BUILDING_${upper} ${arg_DEFINITIONS})
    # Public here so that the static twin passes the dependencies on to the tests.
    target_link_libraries(${objects} PUBLIC ${uses_objects} ${arg_PUBLIC} ${arg_PRIVATE})
    set_target_properties(${objects} PROPERTIES
        POSITION_INDEPENDENT_CODE ON
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)

    add_library(qor_${name} SHARED $<TARGET_OBJECTS:${objects}>)
    add_library(Qor::${name} ALIAS qor_${name})
    target_include_directories(qor_${name} INTERFACE
        $<BUILD_INTERFACE:${QOR_BUILD_INCLUDE_DIR}> $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
    target_compile_features(qor_${name} INTERFACE cxx_std_20)
    target_link_libraries(qor_${name} PUBLIC ${uses_shared} ${arg_PUBLIC} PRIVATE ${arg_PRIVATE})
    set_target_properties(qor_${name} PROPERTIES
        VERSION ${PROJECT_VERSION}
        SOVERSION ${PROJECT_VERSION_MAJOR}
        EXPORT_NAME ${name}
        LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/${CMAKE_INSTALL_LIBDIR})

    # An object library's files reach only the target that links it directly, hence the used twins.
    add_library(qor_${name}_testable STATIC)
    target_link_libraries(qor_${name}_testable PUBLIC ${objects} ${uses_testable})
endfunction()
