# Helpers shared by the components: type libraries, COM server DLLs, tests.

# add_typelib(<name> <idl> [BYREF_TEXT_DEFAULTS] [IMPORTS lib...]): runs widl for the header, the
# GUID definitions and the .tlb, and makes the static library <name>_idl that carries the header
# and the GUIDs.
# BYREF_TEXT_DEFAULTS: the IDL declares its optional by-reference texts with their default through
# BYREF_TEXT_DEFAULTS_AS_VALUES (see cmake/tlb_byref_text_defaults.py), which the .tlb is made with.
# IMPORTS: each library (made by add_typelib before) is imported by the IDL file (its .idl for the
# declarations, its .tlb by importlib, so its types stay in its own type library).
function(add_typelib name idl)
  cmake_parse_arguments(A "BYREF_TEXT_DEFAULTS" "" "IMPORTS" ${ARGN})
  set(out ${CMAKE_CURRENT_BINARY_DIR})
  get_filename_component(idl_abs ${idl} ABSOLUTE)
  set(W ${WIDL_EXECUTABLE} ${WIDL_TARGET_FLAG} -I${WIDL_IDL_DIR} -L${WIDL_TLB_DIR} -I${CMAKE_CURRENT_SOURCE_DIR})
  set(deps)
  foreach(lib IN LISTS A_IMPORTS)
    get_property(lib_tlb GLOBAL PROPERTY ${lib}_TLB)
    get_property(lib_idl GLOBAL PROPERTY ${lib}_IDL)
    get_filename_component(lib_tlb_dir ${lib_tlb} DIRECTORY)
    get_filename_component(lib_idl_dir ${lib_idl} DIRECTORY)
    list(APPEND W -I${lib_idl_dir} -L${lib_tlb_dir})
    list(APPEND deps ${lib_idl} ${lib_tlb})
  endforeach()
  set(tlb_steps COMMAND ${W} -t -o ${out}/${name}.tlb ${idl_abs})
  set(patch)
  if(A_BYREF_TEXT_DEFAULTS)
    set(patch ${PROJECT_SOURCE_DIR}/cmake/tlb_byref_text_defaults.py)
    set(tlb_steps COMMAND ${W} -DBYREF_TEXT_DEFAULTS_AS_VALUES -t -o ${out}/${name}.tlb ${idl_abs}
                  COMMAND ${Python3_EXECUTABLE} ${patch} ${out}/${name}.tlb)
  endif()
  add_custom_command(
    OUTPUT ${out}/${name}.h ${out}/${name}_i.c ${out}/${name}.tlb
    COMMAND ${W} -h -o ${out}/${name}.h   ${idl_abs}
    COMMAND ${W} -u -o ${out}/${name}_i.c ${idl_abs}
    ${tlb_steps}
    DEPENDS ${idl_abs} ${deps} ${patch}
    COMMENT "widl ${name}.idl"
    VERBATIM)
  add_library(${name}_idl STATIC ${out}/${name}_i.c ${out}/${name}.h)
  target_include_directories(${name}_idl PUBLIC ${out})
  foreach(lib IN LISTS A_IMPORTS)
    target_link_libraries(${name}_idl PUBLIC ${lib}_idl)
  endforeach()
  set_property(GLOBAL PROPERTY ${name}_TLB ${out}/${name}.tlb)
  set_property(GLOBAL PROPERTY ${name}_IDL ${idl_abs})
endfunction()

# add_com_server(<name> TYPELIB <tl> SOURCES ... LIBS ...): an in-process COM server DLL
# named <name>.dll that embeds the type library <tl> as TYPELIB 1.
function(add_com_server name)
  cmake_parse_arguments(A "" "TYPELIB;DEF;RC" "SOURCES;LIBS" ${ARGN})
  get_property(tlb GLOBAL PROPERTY ${A_TYPELIB}_TLB)
  add_library(${name} SHARED ${A_SOURCES} ${A_RC} ${A_DEF})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})
  set_source_files_properties(${A_RC} PROPERTIES OBJECT_DEPENDS ${tlb})
  get_filename_component(tlb_dir ${tlb} DIRECTORY)
  target_include_directories(${name} PRIVATE ${tlb_dir})
  target_link_libraries(${name} PRIVATE ${A_LIBS} ${A_TYPELIB}_idl platform_com platform_vb
                        ole32 oleaut32 uuid advapi32 user32)
  target_link_options(${name} PRIVATE -Wl,--enable-stdcall-fixup)
endfunction()

# The tests that need a Wine prefix to themselves ask ctest for one "wineprefix": scripts/test starts
# a session in each private prefix and hands ctest their list (build/<arch>/wine-prefixes.json, read
# by a plain ctest in the build tree too); scripts/wine-run runs the test in the one it was given.
set(PRIVATE_PREFIX_GROUP "wineprefix:1")
set(CTEST_RESOURCE_SPEC_FILE ${CMAKE_BINARY_DIR}/wine-prefixes.json)

# add_gtest(<name> SOURCES ... LIBS ... [DEPENDS t...] [FIXTURES f...] [TEST_PREFIX p]
#           [RESOURCE_LOCK l] [PRIVATE_PREFIX] [PROCESS_PER_CASE] [COST c]): a GoogleTest program
# run under Wine, its tests discovered by ctest. PRIVATE_PREFIX: each test runs in a Wine prefix of its own for its
# time (see PRIVATE_PREFIX_GROUP), for tests that use the product's real folders or show windows.
# COST: ctest's cost of each test of the program; ctest starts the costlier tests first (it has no
# times of its own on a fresh tree). The cases run together in one process (scripts/gtest-batch,
# the test <name>.batch), each still a test of its own (scripts/gtest-case): a Wine start costs
# about a second under qemu-i386, more than most cases take. PROCESS_PER_CASE: each case runs in a
# process of its own, for programs whose cases take seconds each.
function(add_gtest name)
  cmake_parse_arguments(A "PRIVATE_PREFIX;PROCESS_PER_CASE" "TEST_PREFIX;RESOURCE_LOCK;COST"
                        "SOURCES;LIBS;FIXTURES;DEPENDS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE test_main ${A_LIBS})
  if(A_DEPENDS)
    add_dependencies(${name} ${A_DEPENDS})
  endif()
  set(props TIMEOUT 180)  # three times the longest case alone: two runs may share the machine
  if(A_RESOURCE_LOCK)
    list(APPEND props RESOURCE_LOCK ${A_RESOURCE_LOCK})
  endif()
  if(A_PRIVATE_PREFIX)
    list(APPEND props RESOURCE_GROUPS ${PRIVATE_PREFIX_GROUP})
  endif()
  if(A_COST)
    list(APPEND props COST ${A_COST})
  endif()
  set(prefix)
  if(A_TEST_PREFIX)
    set(prefix TEST_PREFIX "${A_TEST_PREFIX}")
  endif()
  # The cases come after the batch when it runs too (DEPENDS, not a fixture: a failed batch must
  # not keep its cases from running alone; a case run without it runs alone).
  set(batch)
  if(NOT A_PROCESS_PER_CASE)
    set(results ${CMAKE_CURRENT_BINARY_DIR}/${name}_results)
    set(batch ${A_TEST_PREFIX}${name}.batch)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${PROJECT_SOURCE_DIR}/scripts/gtest-case;${results}")
    add_test(NAME ${batch} COMMAND ${PROJECT_SOURCE_DIR}/scripts/gtest-batch ${results} $<TARGET_FILE:${name}>)
    set_tests_properties(${batch} PROPERTIES ${props} TIMEOUT 300 COST 100 FIXTURES_REQUIRED "${A_FIXTURES}")
  endif()
  # The tests are listed when the program is linked, in parallel with the rest of the build, rather
  # than one program after another when ctest starts.
  gtest_discover_tests(${name} DISCOVERY_MODE POST_BUILD DISCOVERY_TIMEOUT 120 ${prefix} PROPERTIES ${props})
  if(A_FIXTURES OR batch)
    # A list does not pass through PROPERTIES, so the discovered tests (named in ${name}_TESTS)
    # are given their fixtures and their batch once discovery has run.
    set(fixtures_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_fixtures.cmake)
    file(WRITE ${fixtures_file}
         "if(${name}_TESTS)\n"
         "  set_tests_properties(\${${name}_TESTS} PROPERTIES FIXTURES_REQUIRED \"${A_FIXTURES}\" DEPENDS \"${batch}\")\n"
         "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${fixtures_file})
  endif()
endfunction()

# run_in_private_prefix(<program> <test>...): the named tests of a program added above (left out
# of its batch) each run in a private prefix (PRIVATE_PREFIX_GROUP): for a test
# that changes what every program of its prefix shares, such as the user locale, without making
# the others wait.
function(run_in_private_prefix program)
  set(file ${CMAKE_CURRENT_BINARY_DIR}/${program}_private_prefix.cmake)
  file(WRITE ${file} "set_tests_properties(${ARGN} PROPERTIES RESOURCE_GROUPS \"${PRIVATE_PREFIX_GROUP}\")\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${file})
  if(TEST ${program}.batch)
    string(JOIN ":" cases ${ARGN})
    set_tests_properties(${program}.batch PROPERTIES ENVIRONMENT "GTEST_FILTER=-${cases}")
  endif()
endfunction()

# add_gtest_per_windows_version(<base> <add_gtest arguments>...): the same test program built
# twice, <base>_xp and <base>_vista, whose tests are named "xp." and "vista." .... Wine's
# per-program version setting, made by a fixture before they run, reports Windows XP (5.1) to the
# one and Windows Vista (6.0) to the other; it is left in place, so that test runs of other build
# trees in the same prefix find the same setting. RUNS_AS_VISTA (0 or 1) tells the sources which.
function(add_gtest_per_windows_version base)
  foreach(os xp vista)
    add_gtest_for_windows_version(${base} ${os} ${ARGN})
  endforeach()
endfunction()

# add_gtest_for_windows_version(<base> <xp|vista> <add_gtest arguments>...): the test program
# <base>_<os>, whose tests are named "<os>." ..., run with Wine reporting that Windows version.
function(add_gtest_for_windows_version base os)
  cmake_parse_arguments(A "PRIVATE_PREFIX;PROCESS_PER_CASE" "RESOURCE_LOCK;COST" "SOURCES;LIBS;FIXTURES;DEPENDS" ${ARGN})
  set(exe ${base}_${os})
  if(os STREQUAL "vista")
    set(wine_version vista)
    set(runs_as_vista 1)
  else()
    set(wine_version winxp)
    set(runs_as_vista 0)
  endif()
  set_property(GLOBAL APPEND_STRING PROPERTY PREFIX_SETUP_REG
               "[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\${exe}.exe]\n\"Version\"=\"${wine_version}\"\n\n")
  set_property(GLOBAL APPEND PROPERTY PREFIX_SETUP_FIXTURES ${exe}_version)
  set(options)
  foreach(option PRIVATE_PREFIX PROCESS_PER_CASE)
    if(A_${option})
      list(APPEND options ${option})
    endif()
  endforeach()
  add_gtest(${exe} SOURCES ${A_SOURCES} LIBS ${A_LIBS} DEPENDS ${A_DEPENDS} RESOURCE_LOCK "${A_RESOURCE_LOCK}"
            COST "${A_COST}" TEST_PREFIX "${os}." FIXTURES ${A_FIXTURES} ${exe}_version ${options})
  target_compile_definitions(${exe} PRIVATE RUNS_AS_VISTA=${runs_as_vista})
endfunction()

# Windows form (Z:\...) of a Unix path, for programs under Wine.
function(to_wine_path out path)
  string(REPLACE "/" "\\" p "${path}")
  set(${out} "Z:${p}" PARENT_SCOPE)
endfunction()

# add_registration_fixture(<dll target>): the fixture <dll target>: the DLL registered with regsvr32
# (in the test prefix and each private one) before the tests that require it, unregistered after them.
function(add_registration_fixture target)
  to_wine_path(dll "${CMAKE_BINARY_DIR}/bin/${target}.dll")
  set_property(GLOBAL APPEND PROPERTY PREFIX_SETUP_DLLS "${dll}")
  set_property(GLOBAL APPEND PROPERTY PREFIX_SETUP_FIXTURES ${target})
  set_property(GLOBAL APPEND PROPERTY PREFIX_CLEANUP_FIXTURES ${target})
endfunction()

# finish_prefix_setup(): once every fixture above is known, one test that sets them all up
# (the version settings imported from one .reg file, the DLLs registered by one regsvr32, in every
# prefix at once: scripts/prefix-setup) and one that unregisters the DLLs after the last test that
# requires one. The version settings stay, so that test runs of other build trees in the same
# prefix find the same.
function(finish_prefix_setup)
  get_property(reg GLOBAL PROPERTY PREFIX_SETUP_REG)
  get_property(dlls GLOBAL PROPERTY PREFIX_SETUP_DLLS)
  get_property(setup GLOBAL PROPERTY PREFIX_SETUP_FIXTURES)
  get_property(cleanup GLOBAL PROPERTY PREFIX_CLEANUP_FIXTURES)
  set(reg_file ${CMAKE_BINARY_DIR}/prefix-setup.reg)
  file(WRITE ${reg_file} "REGEDIT4\n\n${reg}")
  to_wine_path(reg_path "${reg_file}")
  add_test(NAME prefixes_setup COMMAND ${PROJECT_SOURCE_DIR}/scripts/prefix-setup ${reg_path} ${dlls})
  add_test(NAME prefixes_cleanup COMMAND ${PROJECT_SOURCE_DIR}/scripts/prefix-setup --unregister ${dlls})
  set_tests_properties(prefixes_setup PROPERTIES FIXTURES_SETUP "${setup}")
  set_tests_properties(prefixes_cleanup PROPERTIES FIXTURES_CLEANUP "${cleanup}")
endfunction()

# add_vbs_test(<name> <script> FIXTURES f... [PRIVATE_PREFIX]): a VBScript host run by Wine's
# cscript; it passes only when the script's closing count line says "N passed, 0 failed".
function(add_vbs_test name script)
  cmake_parse_arguments(A "PRIVATE_PREFIX" "" "FIXTURES" ${ARGN})
  get_filename_component(abs ${script} ABSOLUTE)
  add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/scripts/run-vbs ${abs})
  set_tests_properties(${name} PROPERTIES TIMEOUT 180 FIXTURES_REQUIRED "${A_FIXTURES}")
  if(A_PRIVATE_PREFIX)
    set_tests_properties(${name} PROPERTIES RESOURCE_GROUPS ${PRIVATE_PREFIX_GROUP})
  endif()
endfunction()

# finish_deliverables(): once every deliverable is known (what the target `deliverables` depends
# on), strips each in Release builds and lists their file names in <build>/deliverables.txt, for
# scripts/check-imports.
function(finish_deliverables)
  get_property(targets TARGET deliverables PROPERTY MANUALLY_ADDED_DEPENDENCIES)
  set(names "")
  foreach(t IN LISTS targets)
    target_link_options(${t} PRIVATE $<$<CONFIG:Release>:-s>)
    string(APPEND names "$<TARGET_FILE_NAME:${t}>\n")
  endforeach()
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/deliverables.txt CONTENT "${names}")
endfunction()
