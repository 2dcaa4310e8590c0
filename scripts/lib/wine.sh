# Sourced by scripts/test and scripts/run: a private Wine prefix on a display, for one run.
#
# wine_session_start sets up: a temporary folder (removed on exit), Xvfb when there is no
# DISPLAY, a fresh prefix with code page 936, a browser stand-in that records the addresses
# it is asked to open, and one persistent wineserver. As root, all of it runs as the
# unprivileged account made by scripts/setup: root could open read-only files for writing,
# an ordinary Windows user cannot.

WINE_USER=filetime-test

as_wine_user() {
  if [[ $(id -u) -eq 0 ]]; then
    runuser -u "$WINE_USER" -- env HOME="$WINE_HOME" "$@"
  else
    "$@"
  fi
}

wine_session_stop() {
  [[ -n ${WINEPREFIX:-} ]] && as_wine_user wineserver -k >/dev/null 2>&1 || true
  [[ -n ${XVFB_PID:-} ]] && kill "$XVFB_PID" 2>/dev/null || true
  [[ -n ${WINE_SESSION_DIR:-} ]] && rm -rf "$WINE_SESSION_DIR"
  return 0
}

wine_session_start() {
  if [[ $(id -u) -eq 0 ]]; then
    WINE_HOME=$(getent passwd "$WINE_USER" | cut -d: -f6)
    WINE_SESSION_DIR=$(runuser -u "$WINE_USER" -- mktemp -d /tmp/filetime-wine.XXXXXX)
  else
    WINE_HOME=$HOME
    WINE_SESSION_DIR=$(mktemp -d /tmp/filetime-wine.XXXXXX)
  fi
  trap wine_session_stop EXIT
  chmod 755 "$WINE_SESSION_DIR"

  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
  export WINEPREFIX=$WINE_SESSION_DIR/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export FILETIME_BROWSER_LOG_UNIX=$WINE_SESSION_DIR/browser.log
  # The same file as the Windows programs see it (Wine maps / to Z:).
  export FILETIME_BROWSER_LOG="Z:${FILETIME_BROWSER_LOG_UNIX//\//\\}"

  if [[ -z ${DISPLAY:-} ]]; then
    local fd_file=$WINE_SESSION_DIR/display
    as_wine_user bash -c 'echo $$ > "$2"; exec Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$1" >/dev/null 2>&1' \
      _ "$fd_file" "$WINE_SESSION_DIR/xvfb.pid" &
    local tries=0
    until [[ -s $fd_file ]]; do
      (( ++tries > 200 )) && { echo "wine: Xvfb did not start" >&2; return 1; }
      sleep 0.05
    done
    export DISPLAY=:$(tr -d '\n' < "$fd_file")
    XVFB_PID=$(cat "$WINE_SESSION_DIR/xvfb.pid")
  fi

  cat > "$WINE_SESSION_DIR/browser" <<'SH'
#!/bin/sh
# Stands in for the web browser: records the address and opens nothing.
printf '%s\n' "$1" >> "$FILETIME_BROWSER_LOG_UNIX"
SH
  chmod 755 "$WINE_SESSION_DIR/browser"

  as_wine_user wineboot --init >/dev/null 2>&1
  as_wine_user wineserver -w
  # No crash dialog can hang a run; the browser is the stand-in above; no window manager runs
  # on Xvfb, so Wine draws the title bars itself and manages the windows alone (a managed
  # window waits two seconds for a window manager each time it closes); 宋体 is drawn with
  # the CJK font of the system.
  # regedit reads a REGEDIT4 file in the ANSI code page, here GBK.
  iconv -f UTF-8 -t GBK > "$WINE_SESSION_DIR/settings.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\\Software\\Wine\\WineBrowser]
"Browsers"="$WINE_SESSION_DIR/browser"

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Decorated"="N"
"Managed"="N"

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"宋体"="WenQuanYi Micro Hei"
REG
  as_wine_user wine regedit /S "Z:${WINE_SESSION_DIR//\//\\}\\settings.reg"
  as_wine_user wineserver -w
  as_wine_user wineserver -p
  # Wine's background services start with the first program of a server and would hold that
  # program's output open; start them here, writing nowhere, so tests' output ends with them.
  as_wine_user wine cmd /c exit >/dev/null 2>&1 </dev/null
}
