# Driving the program on the emulated device from a script, inside `emulator --session`:
# sourced by tools/run and tools/screenshots. Commands and controls are named as
# res/resource.h names them, keys as the platform names them (VK_F2).
#
# Needs VELMORA_BIN, the build's bin folder.

session_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The remote control (emulator/emulatorctl.cpp).
ctl() { wine "$VELMORA_BIN/emulatorctl.exe" "$@"; }

# The number res/resource.h gives a name.
resource_id() {
    local id
    id=$(awk -v name="$1" '$1 == "#define" && $2 == name { print $3 }' "$session_root/res/resource.h")
    [ -n "$id" ] || { echo "session: res/resource.h has no $1" >&2; return 1; }
    echo "$id"
}

command_of() { ctl command "$(resource_id "$1")"; }
drop_down() { ctl drop-down "$(resource_id "$1")"; }
click() { ctl click "$(resource_id "$1")"; }

# Starts the program in the background; its process id is then in $program.
start_program() {
    wine "$VELMORA_BIN/velmora.exe" &
    program=$!
}
