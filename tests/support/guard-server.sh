# shellcheck shell=bash
# Sourced by the with-*.sh wrappers that start a private server for a test:
#   guard_server SERVER_PID RUNTIME_FOLDER
# Stops the server and removes the folder when the wrapper exits, and also
# when the wrapper is killed outright (a test run's timeout): a watchdog
# then stops the server, which must not outlive it.
guard_server() {
    guarded_server=$1
    guarded_runtime=$2
    local wrapper=$$
    (
        while kill -0 "$wrapper" 2>/dev/null; do sleep 1; done
        kill "$guarded_server" 2>/dev/null
    ) &
    guarded_watchdog=$!
    trap guard_server_cleanup EXIT
}

guard_server_cleanup() {
    kill "$guarded_watchdog" 2>/dev/null
    kill "$guarded_server" 2>/dev/null
    wait "$guarded_server" 2>/dev/null
    rm -rf "$guarded_runtime"
}
