# Install rules: the shared library, the public headers under include/qor/, the resources under
# share/qor/, a CMake package (find_package(Qor) gives Qor::core and, when built, Qor::objects and
# Qor::ui) and a pkg-config file (qor-core).
include(CMakePackageConfigHelpers)

set(qor_installed_targets qor_core)
if(QOR_BUILD_OBJECTS)
    list(APPEND qor_installed_targets qor_objects)
endif()
if(QOR_BUILD_UI)
    list(APPEND qor_installed_targets qor_ui)
endif()
install(TARGETS ${qor_installed_targets} EXPORT QorTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# Public headers only: internal ones end in _p.h, and the window folders (*/ui/) belong to qor_ui.
foreach(dir IN LISTS QOR_CORE_DIRS QOR_OBJECTS_DIRS)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/${dir}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qor/${dir}
        COMPONENT development
        FILES_MATCHING PATTERN "*.h"
        PATTERN "*_p.h" EXCLUDE
        PATTERN "ui" EXCLUDE)
endforeach()
# The window folders' headers come with qor_ui only.
if(QOR_BUILD_UI)
    foreach(dir IN ITEMS render slide)
        if(NOT IS_DIRECTORY ${PROJECT_SOURCE_DIR}/${dir}/ui)
            continue()
        endif()
        install(DIRECTORY ${PROJECT_SOURCE_DIR}/${dir}/ui/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qor/${dir}/ui
            COMPONENT development
            FILES_MATCHING PATTERN "*.h"
            PATTERN "*_p.h" EXCLUDE)
    endforeach()
    foreach(dir IN LISTS QOR_UI_DIRS)
        install(DIRECTORY ${PROJECT_SOURCE_DIR}/${dir}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qor/${dir}
            COMPONENT development
            FILES_MATCHING PATTERN "*.h"
            PATTERN "*_p.h" EXCLUDE
            PATTERN "doc" EXCLUDE)
    endforeach()
endif()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/res/ DESTINATION ${CMAKE_INSTALL_DATADIR}/qor COMPONENT runtime
    PATTERN "README.md" EXCLUDE
    PATTERN "*.py" EXCLUDE)

set(QOR_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Qor)
install(EXPORT QorTargets NAMESPACE Qor:: DESTINATION ${QOR_CMAKE_DIR} COMPONENT development)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/QorConfig.cmake.in
    ${PROJECT_BINARY_DIR}/QorConfig.cmake INSTALL_DESTINATION ${QOR_CMAKE_DIR})
# Within a major version the library stays binary compatible (the SOVERSION is the major version).
write_basic_package_version_file(${PROJECT_BINARY_DIR}/QorConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/QorConfig.cmake ${PROJECT_BINARY_DIR}/QorConfigVersion.cmake
    ${CMAKE_CURRENT_LIST_DIR}/QorWx.cmake DESTINATION ${QOR_CMAKE_DIR} COMPONENT development)

# Relocatable: the prefix is found from where the .pc file lies, so `cmake --install --prefix` anywhere works.
file(RELATIVE_PATH QOR_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
configure_file(${CMAKE_CURRENT_LIST_DIR}/qor-core.pc.in ${PROJECT_BINARY_DIR}/qor-core.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/qor-core.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
    COMPONENT development)
