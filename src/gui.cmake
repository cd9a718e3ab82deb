# The GUI: every src/*.cpp but main.cpp, the dialog templates (src/*.ui) and
# the icons (src/res/*.qrc) make one object library; the two programs are
# main.cpp over it and one command-set core each.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets Svg)

file(GLOB KX_GUI_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
list(FILTER KX_GUI_SOURCES EXCLUDE REGEX "/main\\.cpp$")
file(GLOB KX_GUI_HEADERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.h)
file(GLOB KX_GUI_FORMS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.ui)
file(GLOB KX_GUI_RESOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/res/*.qrc)

add_library(kxgui_obj OBJECT
    ${KX_GUI_SOURCES} ${KX_GUI_HEADERS} ${KX_GUI_FORMS} ${KX_GUI_RESOURCES})
target_include_directories(kxgui_obj PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(kxgui_obj PUBLIC kxcore_obj Qt6::Widgets Qt6::Svg)
set_target_properties(kxgui_obj PROPERTIES AUTOUIC_SEARCH_PATHS ${CMAKE_SOURCE_DIR}/src)

if(EXISTS ${CMAKE_SOURCE_DIR}/src/main.cpp)
    foreach(set cn en)
        string(TOUPPER ${set} SET)
        add_executable(KX_GSM_${SET} ${CMAKE_SOURCE_DIR}/src/main.cpp)
        # Linking the object library directly puts its objects into the
        # program; the core of one command set follows as a static library.
        target_link_libraries(KX_GSM_${SET} PRIVATE kxgui_obj kxcore_${set})
    endforeach()
endif()
