#!/bin/sh
# The module's dynamic symbol table holds exactly the nine exports as
# C-named functions. Exit 77 (skipped) when nm is not installed.
module=$1
command -v nm >/dev/null 2>&1 || exit 77
expected="CreateDevice
DeleteDevice
GetDeviceDescription
GetDeviceInterfaceVersion
GetDeviceName
GetDeviceType
GetModuleVersion
GetNumberOfDevices
InitializeModuleData"
# Defined functions (T, W, i) whose names are not C++-mangled.
actual=$(nm -D --defined-only "$module" | awk '$2 ~ /^[TWi]$/ && $3 !~ /^_Z/ {print $3}' | sort)
if [ "$actual" != "$expected" ]; then
  echo "C-named functions exported by $module:"
  echo "$actual"
  exit 1
fi
