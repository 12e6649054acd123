# Qor::wx: wxWidgets 3.2 (html, core and base) as an imported target, so its headers count as system headers
# (no warnings of ours for them) and the installed package can make the same target for Qor::ui's users.
if(NOT TARGET Qor::wx)
    find_package(wxWidgets 3.2 REQUIRED COMPONENTS html core base)
    add_library(Qor::wx INTERFACE IMPORTED)
    set(qor_wx_definitions ${wxWidgets_DEFINITIONS})
    if(NOT WIN32)
        list(APPEND qor_wx_definitions WXUSINGDLL)
    endif()
    set_target_properties(Qor::wx PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES "${wxWidgets_INCLUDE_DIRS}"
        INTERFACE_COMPILE_DEFINITIONS "${qor_wx_definitions}"
        INTERFACE_LINK_LIBRARIES "${wxWidgets_LIBRARIES}")
endif()
