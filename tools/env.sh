# Sourced by tools/test and tools/run: where the private server listens, as the tests and the demo read it.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export PALLOWIN_DB_DIR=${PALLOWIN_DB_DIR:-$top/build/mariadb}
export PALLOWIN_DB_PORT=${PALLOWIN_DB_PORT:-3417}
export PALLOWIN_DB_SOCKET=$PALLOWIN_DB_DIR/mysqld.sock
export PALLOWIN_DB_USER=pallowin
export PALLOWIN_DB_PASSWORD=pallowin
export PALLOWIN_SOURCE_DIR=$top

# The demo of tools/run keeps a server of its own (its data in build/demo/mariadb, its port 1000
# above the tests'), so that the tests, which reload posdb all the time, never touch its bookings.
demo_server() {
  export PALLOWIN_DB_DIR=$top/build/demo/mariadb
  export PALLOWIN_DB_PORT=$((PALLOWIN_DB_PORT + 1000))
  export PALLOWIN_DB_SOCKET=$PALLOWIN_DB_DIR/mysqld.sock
}
