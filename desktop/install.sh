#!/bin/sh
# Installs the program folder with its desktop integration, or removes both again:
#   desktop/install.sh install PROGRAM-FOLDER
#   desktop/install.sh uninstall
# PREFIX (default $HOME/.local) and DESTDIR (a staging root for packagers) come from the
# environment; make passes them. The program folder is copied whole and stays writable for the
# user who installs it, because the editor writes beside itself (test runs, user themes).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
name=kestrane-quorvex
prefix=${PREFIX:-$HOME/.local}
root=${DESTDIR:-}$prefix
appdir=$prefix/lib/$name
target=$root/lib/$name
bindir=$root/bin
apps=$root/share/applications
mime=$root/share/mime
hicolor=$root/share/icons/hicolor
sizes="48 256"

fail() {
    echo "install.sh: $*" >&2
    exit 1
}

have() {
    command -v "$1" >/dev/null 2>&1
}

# Caches describe the running system; a staged install (DESTDIR) leaves them to the package.
# With no package or entry left, a database is derived from nothing, so it goes instead.
refresh_caches() {
    [ -z "${DESTDIR:-}" ] || return 0
    if [ -z "$(ls -A "$mime/packages" 2>/dev/null)" ]; then
        rm -rf "$mime"
    elif have update-mime-database; then
        update-mime-database "$mime" >/dev/null
    fi
    if ! ls "$apps"/*.desktop >/dev/null 2>&1; then
        rm -f "$apps/mimeinfo.cache"
    elif have update-desktop-database; then
        update-desktop-database -q "$apps"
    fi
    # Only a theme folder with its index keeps an icon cache; ~/.local usually has none.
    if [ -f "$hicolor/index.theme" ] && have gtk-update-icon-cache; then
        gtk-update-icon-cache -q -t -f "$hicolor"
    fi
}

# Removes dir and its parents while they are empty, never climbing above the install root.
prune() {
    dir=$1
    while [ "${dir#"$root"/}" != "$dir" ] && [ -d "$dir" ]; do
        rmdir "$dir" 2>/dev/null || return 0
        dir=$(dirname "$dir")
    done
}

# The desktop entry with the installed program's path. Exec quotes it so that spaces pass;
# characters that would need escaping inside the quotes are refused rather than mangled.
desktop_entry() {
    case $appdir in
        *[\"\`\$\\%]*) fail "PREFIX must not contain \" \` \$ \\ or %: $prefix" ;;
    esac
    escaped=$(printf '%s\n' "$appdir" | sed 's/[&|]/\\&/g')
    sed -e "s|^Exec=@APPDIR@/tavlen|Exec=\"@APPDIR@/tavlen\"|" -e "s|@APPDIR@|$escaped|g" \
        "$here/$name.desktop.in"
}

install_all() {
    source=$1
    [ -x "$source/tavlen" ] && [ -x "$source/Runner/run" ] ||
        fail "$source holds no built editor and runner; build first (make build)"

    mkdir -p "$target"
    cp -R "$source/." "$target/"
    # The runner's symbols serve debugging in the build tree, not the installed program.
    rm -f "$target/Runner/run.debug"
    chmod -R u+w "$target"

    mkdir -p "$apps"
    desktop_entry >"$apps/$name.desktop"
    chmod 644 "$apps/$name.desktop"
    for size in $sizes; do
        install -D -m 644 "$here/icons/$size/$name.png" "$hicolor/${size}x$size/apps/$name.png"
    done
    install -D -m 644 "$here/$name.xml" "$mime/packages/$name.xml"
    mkdir -p "$bindir"
    ln -sfn "$appdir/tavlen" "$bindir/tavlen"

    refresh_caches
    echo "Installed in $target; start it with: $prefix/bin/tavlen"
}

uninstall_all() {
    rm -rf "$target"
    prune "$(dirname "$target")"
    # Only our own link goes; a tavlen of another origin stays.
    if [ -L "$bindir/tavlen" ] && [ "$(readlink "$bindir/tavlen")" = "$appdir/tavlen" ]; then
        rm -f "$bindir/tavlen"
    fi
    prune "$bindir"
    rm -f "$apps/$name.desktop" "$mime/packages/$name.xml"
    for size in $sizes; do
        rm -f "$hicolor/${size}x$size/apps/$name.png"
        prune "$hicolor/${size}x$size/apps"
    done

    refresh_caches
    prune "$apps"
    prune "$root/share"
    echo "Removed $target and its desktop integration"
}

case ${1:-} in
    install)
        [ $# -eq 2 ] || fail "usage: $0 install PROGRAM-FOLDER"
        install_all "$2"
        ;;
    uninstall)
        uninstall_all
        ;;
    *)
        fail "usage: $0 install PROGRAM-FOLDER | $0 uninstall"
        ;;
esac
