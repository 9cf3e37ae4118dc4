# Puts the built project into a scratch root -- installed with `cmake --install`
# (MODE consume) or as the Debian package unpacked with `dpkg -x` (MODE
# package) -- then builds outside programs against it with find_package (C and
# C++, the C++ one setting no standard of its own) and with pkg-config, runs
# them, and runs the installed `corva` from there.
file(REMOVE_RECURSE ${WORK_DIR})
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed: ${ARGN}\n${out}\n${err}")
  endif()
endfunction()

if(MODE STREQUAL "package")
  run(${CPACK} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}/deb)
  file(GLOB debs ${WORK_DIR}/deb/*.deb)
  list(LENGTH debs n)
  if(NOT n EQUAL 1)
    message(FATAL_ERROR "expected one package, found: ${debs}")
  endif()
  execute_process(COMMAND dpkg-deb --field ${debs} Depends OUTPUT_VARIABLE depends)
  if(NOT depends MATCHES "libc6" OR NOT depends MATCHES "libstdc\\+\\+6")
    message(FATAL_ERROR "the package misses its run-time dependencies: '${depends}'")
  endif()
  run(dpkg -x ${debs} ${WORK_DIR}/root)
  set(prefix ${WORK_DIR}/root/usr)
else()
  set(prefix ${WORK_DIR}/prefix)
  run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
endif()

set(libdir ${prefix}/${LIBDIR})
run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/cmake -DCMAKE_PREFIX_PATH=${prefix}
  -DCMAKE_BUILD_RPATH=${libdir} -DCXX_HOST_SOURCE=${CXX_HOST_SOURCE})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/cmake)
run(${WORK_DIR}/cmake/consumer)
run(${WORK_DIR}/cmake/consumer_cxx)

find_program(PKG_CONFIG pkg-config)
set(CC ${C_COMPILER})
if(PKG_CONFIG AND CC)
  set(ENV{PKG_CONFIG_PATH} ${libdir}/pkgconfig)
  execute_process(COMMAND ${PKG_CONFIG} --cflags --libs corvalib
    OUTPUT_VARIABLE flags RESULT_VARIABLE rc OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "pkg-config does not know corvalib")
  endif()
  separate_arguments(flags UNIX_COMMAND "${flags}")
  run(${CC} ${SOURCE_DIR}/consumer.c ${flags} -Wl,-rpath,${libdir} -o ${WORK_DIR}/consumer-pc)
  run(${WORK_DIR}/consumer-pc)
else()
  message(STATUS "pkg-config or a C compiler missing: the pkg-config build was skipped")
endif()

# The installed program finds its libraries through its own run path, wherever
# the prefix is; nothing on the library path helps it.
unset(ENV{LD_LIBRARY_PATH})
run(${prefix}/bin/corva --version)
