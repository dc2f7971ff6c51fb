# Shared by the run and test commands: packages, builds, display and Wine.
# shellcheck shell=bash

TARVOX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TARVOX_BUILD=$TARVOX_ROOT/build

TARVOX_PACKAGES=(cmake g++ make g++-mingw-w64-i686-posix libz-mingw-w64-dev wine wine32:i386 xvfb
                 nettle-dev libgcrypt20-dev m4 bzip2
                 googletest zlib1g-dev zip unzip 7zip time python3 imagemagick x11-utils xdotool
                 tango-icon-theme libjpeg62-turbo-dev libdeflate-dev libuchardet-dev dpkg-dev nsis clang
                 libclang-rt-dev)

say() { printf '\033[1m== %s\033[0m\n' "$*" >&2; }

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs whatever of TARVOX_PACKAGES is missing; quiet and quick when nothing is.
ensure_packages() {
    local missing=() pkg
    for pkg in "${TARVOX_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "installing ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# Lets apt-get fetch source packages: each Debian source that offers binary packages
# offers their sources too.
enable_deb_src() {
    local changed=0 file
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        if grep -q '^Types: deb$' "$file" && grep -q 'debian' "$file"; then
            as_root sed -i 's/^Types: deb$/Types: deb deb-src/' "$file"
            changed=1
        fi
    done
    if [ -f /etc/apt/sources.list ] && grep -q '^deb http' /etc/apt/sources.list &&
        ! grep -q '^deb-src ' /etc/apt/sources.list; then
        sed -n 's/^deb \(http.*\)/deb-src \1/p' /etc/apt/sources.list |
            as_root tee -a /etc/apt/sources.list >/dev/null
        changed=1
    fi
    [ $changed -eq 0 ] || as_root apt-get update -qq
}

# Other projects' builds print warnings of their own (ar's "u" modifier, CMake
# deprecations, compiler notes) that say nothing about ours: each step of a library
# build writes into the library's log in build/logs, shown only by its path, and a step
# that fails says which library, which step and where the log is, in one line.
TARVOX_LOGS=$TARVOX_BUILD/logs

# library_step LIBRARY STEP COMMAND...: runs COMMAND with its output in LIBRARY's log.
library_step() {
    local library=$1 step=$2 log=$TARVOX_LOGS/$1.log
    shift 2
    mkdir -p "$TARVOX_LOGS"
    printf '\n== %s: %s\n' "$library" "$step" >>"$log"
    if ! "$@" >>"$log" 2>&1; then
        say "building $library failed at: $step (log: ${log#"$TARVOX_ROOT"/})"
        return 1
    fi
}

# in_folder FOLDER COMMAND...: COMMAND run in FOLDER, for configure scripts.
in_folder() {
    (cd "$1" && shift && "$@")
}

# library_started LIBRARY: a new log for LIBRARY's build.
library_started() {
    mkdir -p "$TARVOX_LOGS"
    : >"$TARVOX_LOGS/$1.log"
}

# debian_source PACKAGE FOLDER: unpacks Debian's source of PACKAGE into FOLDER (made
# afresh) and prints the folder of the unpacked tree.
debian_source() {
    local package=$1 work=$2
    rm -rf "$work"
    mkdir -p "$work"
    if ! (cd "$work" && apt-get source -qq "$package" >/dev/null 2>&1); then
        enable_deb_src >&2
        (cd "$work" && apt-get source -qq "$package" >/dev/null 2>&1) || return 1
    fi
    find "$work" -mindepth 1 -maxdepth 1 -type d -name "$package-*" | head -n 1
}

# library_source LIBRARY PACKAGE FOLDER: debian_source as a step of LIBRARY's build; the
# unpacked tree's folder goes into the variable TARVOX_SOURCE.
library_source() {
    TARVOX_SOURCE=$(debian_source "$2" "$3") && [ -n "$TARVOX_SOURCE" ] && return 0
    say "building $1 failed at: apt-get source $2 (is deb-src reachable?)"
    return 1
}

# Debian ships no libjpeg for MinGW: the win32 build links a static libjpeg built here
# once from Debian's own libjpeg-turbo source, kept in the build folder.
TARVOX_MINGW_JPEG=$TARVOX_BUILD/libjpeg-mingw
ensure_mingw_libjpeg() {
    [ -f "$TARVOX_MINGW_JPEG/lib/libjpeg.a" ] && return 0
    say "building libjpeg for i686-w64-mingw32 from Debian's libjpeg-turbo source"
    local lib=libjpeg work=$TARVOX_BUILD/libjpeg-source
    library_started $lib
    library_source $lib libjpeg-turbo "$work" || return 1
    local source=$TARVOX_SOURCE
    library_step $lib configure cmake -S "$source" -B "$work/build" -DCMAKE_SYSTEM_NAME=Windows \
        -DCMAKE_SYSTEM_PROCESSOR=i686 -DCMAKE_C_COMPILER=i686-w64-mingw32-gcc-posix \
        -DCMAKE_RC_COMPILER=i686-w64-mingw32-windres -DCMAKE_BUILD_TYPE=Release -DENABLE_SHARED=OFF \
        -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
        "-DCMAKE_INSTALL_PREFIX=$TARVOX_MINGW_JPEG" || return 1
    library_step $lib build cmake --build "$work/build" --target jpeg-static -j 2 || return 1
    mkdir -p "$TARVOX_MINGW_JPEG/include"
    library_step $lib "copy headers" cp "$source/jpeglib.h" "$source/jmorecfg.h" "$source/jerror.h" \
        "$work/build/jconfig.h" "$TARVOX_MINGW_JPEG/include/" || return 1
    # The library last: its presence marks a complete build.
    mkdir -p "$TARVOX_MINGW_JPEG/lib"
    library_step $lib "copy library" cp "$work/build/libjpeg.a" "$TARVOX_MINGW_JPEG/lib/libjpeg.a" ||
        return 1
    rm -rf "$work"
}

# Nor libdeflate, which deflates whole files faster than zlib: built the same way from
# Debian's libdeflate source.
TARVOX_MINGW_DEFLATE=$TARVOX_BUILD/libdeflate-mingw
ensure_mingw_libdeflate() {
    [ -f "$TARVOX_MINGW_DEFLATE/lib/libdeflate.a" ] && return 0
    say "building libdeflate for i686-w64-mingw32 from Debian's libdeflate source"
    local lib=libdeflate work=$TARVOX_BUILD/libdeflate-source
    library_started $lib
    library_source $lib libdeflate "$work" || return 1
    local source=$TARVOX_SOURCE
    # Its Makefile names the static library of a MinGW build libdeflatestatic.lib.
    library_step $lib build make -C "$source" -j 2 CC=i686-w64-mingw32-gcc-posix \
        AR=i686-w64-mingw32-ar libdeflatestatic.lib || return 1
    mkdir -p "$TARVOX_MINGW_DEFLATE/include"
    library_step $lib "copy header" cp "$source/libdeflate.h" "$TARVOX_MINGW_DEFLATE/include/" ||
        return 1
    # The library last: its presence marks a complete build.
    mkdir -p "$TARVOX_MINGW_DEFLATE/lib"
    library_step $lib "copy library" cp "$source/libdeflatestatic.lib" \
        "$TARVOX_MINGW_DEFLATE/lib/libdeflate.a" || return 1
    rm -rf "$work"
}

# Deflate64 (method 9) is read by zlib's own infback9 code, which Debian's zlib source
# leaves out; Debian's Tcl source carries zlib whole, contrib folder and all. Its files
# are taken from there once, for every build tree, and compiled by CMake beside zlib.
TARVOX_INFBACK9=$TARVOX_BUILD/infback9
ensure_infback9() {
    [ -f "$TARVOX_INFBACK9/infback9.c" ] && return 0
    say "taking zlib's infback9 from Debian's Tcl source"
    local lib=infback9 work=$TARVOX_BUILD/infback9-source
    library_started $lib
    rm -rf "$work" && mkdir -p "$work" || return 1
    if ! (cd "$work" && apt-get source --download-only -qq tcl8.6 >/dev/null 2>&1); then
        enable_deb_src >&2
        library_step $lib "apt-get source tcl8.6" \
            in_folder "$work" apt-get source --download-only -qq tcl8.6 || return 1
    fi
    local archive zlib
    archive=$(find "$work" -maxdepth 1 -name 'tcl8.6_*.orig.tar.*' | head -n 1)
    library_step $lib "unpack zlib" tar -xf "$archive" -C "$work" --wildcards '*/compat/zlib/*' ||
        return 1
    zlib=$(find "$work" -type d -path '*/compat/zlib' | head -n 1)
    library_step $lib "find infback9" test -f "$zlib/contrib/infback9/infback9.c" || return 1
    mkdir -p "$TARVOX_INFBACK9.part"
    # zutil.h is zlib's internal header, which no package installs; zlib.h itself is
    # the system's, as for the rest of zlib.
    library_step $lib "copy sources" cp "$zlib"/contrib/infback9/*.[ch] "$zlib/zutil.h" \
        "$TARVOX_INFBACK9.part/" || return 1
    # The folder last: its presence marks a complete copy.
    rm -rf "$TARVOX_INFBACK9" && mv "$TARVOX_INFBACK9.part" "$TARVOX_INFBACK9" || return 1
    rm -rf "$work"
}

# Nor uchardet, which guesses the code page of entry names written without a flag:
# built the same way from Debian's uchardet source.
TARVOX_MINGW_UCHARDET=$TARVOX_BUILD/uchardet-mingw
ensure_mingw_uchardet() {
    [ -f "$TARVOX_MINGW_UCHARDET/lib/libuchardet.a" ] && return 0
    say "building uchardet for i686-w64-mingw32 from Debian's uchardet source"
    local lib=uchardet work=$TARVOX_BUILD/uchardet-source
    library_started $lib
    library_source $lib uchardet "$work" || return 1
    local source=$TARVOX_SOURCE
    library_step $lib configure cmake -S "$source" -B "$work/build" -DCMAKE_SYSTEM_NAME=Windows \
        -DCMAKE_SYSTEM_PROCESSOR=i686 -DCMAKE_C_COMPILER=i686-w64-mingw32-gcc-posix \
        -DCMAKE_CXX_COMPILER=i686-w64-mingw32-g++-posix -DCMAKE_RC_COMPILER=i686-w64-mingw32-windres \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC=ON -DBUILD_BINARY=OFF \
        -DCHECK_SSE2=OFF "-DCMAKE_INSTALL_PREFIX=$TARVOX_MINGW_UCHARDET" || return 1
    library_step $lib build cmake --build "$work/build" --target libuchardet -j 2 || return 1
    mkdir -p "$TARVOX_MINGW_UCHARDET/include"
    library_step $lib "copy header" cp "$source/src/uchardet.h" "$TARVOX_MINGW_UCHARDET/include/" ||
        return 1
    # The library last: its presence marks a complete build.
    mkdir -p "$TARVOX_MINGW_UCHARDET/lib"
    library_step $lib "copy library" cp "$(find "$work/build" -name 'libuchardet*.a' | head -n 1)" \
        "$TARVOX_MINGW_UCHARDET/lib/libuchardet.a" || return 1
    rm -rf "$work"
}

# Nor nettle, whose PBKDF2 derives the keys of encrypted entries in both builds (Wine's
# bcrypt runs it far slower): built the same way from Debian's nettle source, without
# its public-key part, which alone would need GMP.
TARVOX_MINGW_NETTLE=$TARVOX_BUILD/nettle-mingw
ensure_mingw_nettle() {
    [ -f "$TARVOX_MINGW_NETTLE/lib/libnettle.a" ] && return 0
    say "building nettle for i686-w64-mingw32 from Debian's nettle source"
    local lib=nettle work=$TARVOX_BUILD/nettle-source
    library_started $lib
    library_source $lib nettle "$work" || return 1
    local source=$TARVOX_SOURCE
    library_step $lib configure in_folder "$source" ./configure \
        --host=i686-w64-mingw32 CC=i686-w64-mingw32-gcc-posix --prefix="$TARVOX_MINGW_NETTLE" \
        --disable-public-key --disable-shared --disable-documentation --disable-openssl || return 1
    library_step $lib build make -C "$source" -j 2 libnettle.a || return 1
    library_step $lib "install headers" make -C "$source" install-headers || return 1
    # The library last: its presence marks a complete build.
    mkdir -p "$TARVOX_MINGW_NETTLE/lib"
    library_step $lib "copy library" cp "$source/libnettle.a" "$TARVOX_MINGW_NETTLE/lib/libnettle.a" ||
        return 1
    rm -rf "$work"
}

# AES and HMAC over entry data come from libgcrypt, whose 32-bit code uses the CPU's AES
# and SHA instructions (nettle's has none: 200 against 1,700 MB/s under Wine). Built from
# Debian's libgpg-error and libgcrypt20 sources into one prefix, where libgcrypt's
# configure finds libgpg-error, with only the algorithms its own code needs.
TARVOX_MINGW_GCRYPT=$TARVOX_BUILD/gcrypt-mingw
ensure_mingw_gcrypt() {
    [ -f "$TARVOX_MINGW_GCRYPT/lib/libgcrypt.a" ] && return 0
    say "building libgcrypt for i686-w64-mingw32 from Debian's libgpg-error and libgcrypt20 sources"
    local lib=libgcrypt work=$TARVOX_BUILD/gcrypt-source source folder
    local host=(--host=i686-w64-mingw32 CC=i686-w64-mingw32-gcc-posix
                "--prefix=$TARVOX_MINGW_GCRYPT" --disable-shared --enable-static --disable-doc)
    library_started $lib
    library_source $lib libgpg-error "$work/gpg-error" || return 1
    source=$TARVOX_SOURCE
    library_step $lib "configure libgpg-error" in_folder "$source" ./configure \
        "${host[@]}" --disable-tests --disable-languages --disable-nls || return 1
    # Only its library, headers and config script: the translations' install step runs
    # msgfmt even with NLS disabled, and a bare machine has none.
    library_step $lib "build libgpg-error" make -C "$source/src" -j 2 || return 1
    library_step $lib "install libgpg-error" make -C "$source/src" install || return 1
    library_source $lib libgcrypt20 "$work/gcrypt" || return 1
    source=$TARVOX_SOURCE
    library_step $lib configure in_folder "$source" ./configure "${host[@]}" \
        "--with-libgpg-error-prefix=$TARVOX_MINGW_GCRYPT" --enable-ciphers=aes,chacha20 \
        --enable-digests=sha1,blake2 --enable-pubkey-ciphers= || return 1
    for folder in compat mpi cipher random src; do
        library_step $lib "build $folder" make -C "$source/$folder" -j 2 || return 1
    done
    mkdir -p "$TARVOX_MINGW_GCRYPT/include"
    library_step $lib "copy header" cp "$source/src/gcrypt.h" "$TARVOX_MINGW_GCRYPT/include/" ||
        return 1
    # The library last: its presence marks a complete build.
    library_step $lib "copy library" cp "$source/src/.libs/libgcrypt.a" \
        "$TARVOX_MINGW_GCRYPT/lib/libgcrypt.a" || return 1
    rm -rf "$work"
}

# build_tree native|win32|fuzz [target...]: configures once, then builds. The fuzz tree is
# built by clang, whose libFuzzer the fuzz targets need.
build_tree() {
    local kind=$1 dir=$TARVOX_BUILD/$1
    shift
    ensure_infback9 || return 1
    if [ "$kind" = win32 ]; then
        ensure_mingw_libjpeg
        ensure_mingw_libdeflate
        ensure_mingw_uchardet
        ensure_mingw_nettle
        ensure_mingw_gcrypt
    fi
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        local args=(-S "$TARVOX_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo)
        if [ "$kind" = win32 ]; then
            args+=(--toolchain "$TARVOX_ROOT/cmake/toolchain-i686-mingw.cmake" -DCMAKE_BUILD_TYPE=Release
                   "-DTARVOX_MINGW_JPEG=$TARVOX_MINGW_JPEG" "-DTARVOX_MINGW_DEFLATE=$TARVOX_MINGW_DEFLATE"
                   "-DTARVOX_MINGW_UCHARDET=$TARVOX_MINGW_UCHARDET"
                   "-DTARVOX_MINGW_NETTLE=$TARVOX_MINGW_NETTLE"
                   "-DTARVOX_MINGW_GCRYPT=$TARVOX_MINGW_GCRYPT")
        elif [ "$kind" = fuzz ]; then
            args+=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTARVOX_FUZZ=ON)
        fi
        say "configuring the $kind build"
        cmake "${args[@]}" >/dev/null
    fi
    say "building $kind"
    local targets=()
    for t in "$@"; do targets+=(--target "$t"); done
    cmake --build "$dir" -j "$(nproc)" "${targets[@]}"
}

# build_bench [target...]: the optimised native tree without sanitizers that the
# benchmarks time, in build/bench.
build_bench() {
    local dir=$TARVOX_BUILD/bench t targets=()
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        say "configuring the benchmark build"
        cmake -S "$TARVOX_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DTARVOX_SANITIZE=OFF >/dev/null
    fi
    say "building the benchmark build"
    for t in "$@"; do targets+=(--target "$t"); done
    cmake --build "$dir" -j 2 "${targets[@]}"
}

TARVOX_CLEANUP=()
run_cleanup() {
    local i
    for ((i = ${#TARVOX_CLEANUP[@]} - 1; i >= 0; i--)); do eval "${TARVOX_CLEANUP[$i]}" || true; done
}
trap run_cleanup EXIT

# A virtual display when there is none, stopped on exit. Xvfb picks a free number itself
# and tells it: a display of another user or container may hold a number through an
# abstract socket, which no lock file in this /tmp shows.
ensure_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local fifo n pid
    fifo=$(mktemp -u /tmp/tarvox-display.XXXXXX)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${TARVOX_SCREEN:-1024x768x24}" -nolisten tcp 3>"$fifo" \
        >/dev/null 2>&1 &
    pid=$!
    TARVOX_CLEANUP+=("kill $pid 2>/dev/null")
    n=$(timeout 20 head -n 1 "$fifo" || true)
    rm -f "$fifo"
    if [ -z "$n" ]; then
        say "no virtual display: Xvfb did not start"
        return 1
    fi
    export DISPLAY=":$n"
}

# A private Wine prefix inside the build folder unless WINEPREFIX names one. Wine
# names files through the Unix locale's character set, so without a UTF-8 locale
# (as on a bare machine) non-ASCII file names would not round-trip.
ensure_wine_prefix() {
    if [ "$(locale charmap 2>/dev/null)" != "UTF-8" ]; then
        export LC_ALL=C.UTF-8
    fi
    export WINEPREFIX=${WINEPREFIX:-$TARVOX_BUILD/wineprefix}
    export WINEDEBUG=${WINEDEBUG:--all}
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        say "creating the Wine prefix $WINEPREFIX"
        mkdir -p "$(dirname "$WINEPREFIX")"
        WINEARCH=win32 wineboot -i >/dev/null 2>&1 </dev/null
        wineserver -w
    fi
}

# A wineserver kept alive for the whole run makes each Wine process start in
# milliseconds. Wine's own services start with the first process and would hold
# its output pipes open, so they are started here, away from any test's pipes.
start_persistent_wineserver() {
    wineserver -p >/dev/null 2>&1 </dev/null &
    TARVOX_CLEANUP+=("wineserver -k 2>/dev/null")
    wine wineboot >/dev/null 2>&1 </dev/null
}

# Installs the built program into the Wine prefix as a Windows installation would: the
# program folder with the program, its engine libraries, the manual's pages and the two
# settings files (made only when missing, never over the user's), and the registry keys
# of the file type "Tarvox": its program folder and its open command. The ".zip" type itself is
# the program's to claim at its first start.
TARVOX_PROGRAM_FOLDER='C:\Program Files\Tarvox'
TARVOX_PROGRAM_FILES=(tarvox.exe ZIPDLL.DLL UNZDLL.DLL ayuda.html help.html)
install_tarvox() {
    local folder
    folder=$(winepath -u "$TARVOX_PROGRAM_FOLDER" 2>/dev/null)
    mkdir -p "$folder"
    local file
    for file in "${TARVOX_PROGRAM_FILES[@]}"; do
        if [ ! -f "$TARVOX_BUILD/win32/bin/$file" ]; then
            say "$file has not been built: no installation"
            return 1
        fi
        cp "$TARVOX_BUILD/win32/bin/$file" "$folder/"
    done
    [ -f "$folder/conf.txm" ] || printf 'c:\\\r\nc:\\\r\nc:\\\r\n1\r\n' >"$folder/conf.txm"
    [ -f "$folder/ult.txm" ] || : >"$folder/ult.txm"
    wine reg add 'HKCR\Tarvox\dir' /ve /d "$TARVOX_PROGRAM_FOLDER" /f >/dev/null 2>&1
    wine reg add 'HKCR\Tarvox\shell\open\command' /ve \
        /d "\"$TARVOX_PROGRAM_FOLDER\\tarvox.exe\" \"%1\"" /f >/dev/null 2>&1
}

# Wine draws its arrows, check marks and frame buttons with its Marlett font, which
# this Wine does not find in its own data folder: the prefix gets a copy.
ensure_wine_fonts() {
    local fonts=$WINEPREFIX/drive_c/windows/Fonts
    if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$fonts/marlett.ttf" ]; then
        mkdir -p "$fonts"
        cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
    fi
}
