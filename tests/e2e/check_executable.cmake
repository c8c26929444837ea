# Checks the program file: at most 200 KB, and importing only the DLLs that
# every Windows installation has, so the program runs from a single file.
#
#   cmake -DEXECUTABLE=path/tarnolux.exe -DOBJDUMP=x86_64-w64-mingw32-objdump -P check_executable.cmake

set(kMaximumBytes 204800)
# Windows' own libraries; any other DLL (a compiler runtime such as
# libstdc++-6, libgcc_s_seh-1 or libwinpthread-1) would have to ship beside
# the program.
set(kSystemDlls
    KERNEL32.DLL USER32.DLL GDI32.DLL COMCTL32.DLL COMDLG32.DLL ADVAPI32.DLL SHELL32.DLL OLE32.DLL
    OLEAUT32.DLL UXTHEME.DLL MSVCRT.DLL UCRTBASE.DLL NTDLL.DLL VERSION.DLL SHLWAPI.DLL IMM32.DLL)

if(NOT EXISTS "${EXECUTABLE}")
  message(FATAL_ERROR "no executable at ${EXECUTABLE}")
endif()

file(SIZE "${EXECUTABLE}" size)
message(STATUS "size: ${size} bytes (at most ${kMaximumBytes})")
if(size GREATER kMaximumBytes)
  message(SEND_ERROR "the program is ${size} bytes, more than ${kMaximumBytes}")
endif()

execute_process(COMMAND "${OBJDUMP}" -p "${EXECUTABLE}" OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p failed with ${status}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
if(NOT imports)
  message(SEND_ERROR "no import table found")
endif()
foreach(entry IN LISTS imports)
  string(REGEX REPLACE "DLL Name: *" "" dll "${entry}")
  string(STRIP "${dll}" dll)
  string(TOUPPER "${dll}" upper)
  message(STATUS "imports ${dll}")
  if(upper MATCHES "^API-MS-WIN-CRT-")
    continue()
  endif()
  list(FIND kSystemDlls "${upper}" known)
  if(known EQUAL -1)
    message(SEND_ERROR "imports ${dll}, which is not one of Windows' own DLLs")
  endif()
endforeach()
