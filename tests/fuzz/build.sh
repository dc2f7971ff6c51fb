#!/usr/bin/env bash
# Builds the libFuzzer targets of the archive readers with clang (not needed by the
# test suite) and makes a seed corpus of ordinary archives.
#
#   bash tests/fuzz/build.sh                  builds into build/fuzz
#   cd build/fuzz
#   ./archive_reader_fuzz -max_total_time=300 -dict=zip.dict corpus/archive
#   ./local_header_walk_fuzz -max_total_time=300 -dict=zip.dict corpus/walk
#   ./extract_fuzz -max_total_time=300 -dict="$PWD/zip.dict" "$PWD/corpus/extract"
#   ./entry_round_trip_fuzz -max_total_time=300 corpus/roundtrip
# (extract_fuzz works in a scratch folder of its own: give it absolute paths.)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out=$root/build/fuzz
mkdir -p "$out"
command -v clang++ >/dev/null || { echo "clang++ is needed: apt-get install clang" >&2; exit 1; }

flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -I "$root" -Wall -Wextra)
zipformat=("$root"/zipformat/{CentralDirectory,Records,LocalHeader,EntryReader,EntryNames,EntryPaths,EntrySelector,Wildcard,TraditionalCipher,EngineReporter}.cpp
           "$root"/util/Codepage.cpp)
posix=("$root"/platform/posix/{FileHandlePosix,FileSystemPosix,TempFilePosix,DosTimePosix}.cpp)

clang++ "${flags[@]}" "$root/tests/fuzz/ArchiveReaderFuzz.cpp" "${zipformat[@]}" \
    "$root/platform/posix/FileHandlePosix.cpp" -lz -o "$out/archive_reader_fuzz"
clang++ "${flags[@]}" "$root/tests/fuzz/LocalHeaderWalkFuzz.cpp" "$root/engine/DirectoryWalk.cpp" \
    "$root/platform/BufferedReader.cpp" "$root"/zipformat/{CentralDirectory,Records,EntryNames}.cpp \
    "$root/util/Codepage.cpp" "$root/platform/posix/FileHandlePosix.cpp" -lz \
    -o "$out/local_header_walk_fuzz"
clang++ "${flags[@]}" "$root/tests/fuzz/ExtractFuzz.cpp" "$root/unzdll/ExtractEntries.cpp" \
    "${zipformat[@]}" "${posix[@]}" -lz -o "$out/extract_fuzz"

clang++ "${flags[@]}" "$root/tests/fuzz/EntryRoundTripFuzz.cpp" "${zipformat[@]}" \
    "$root"/zipformat/{ArchiveWriter,EntryEncoder}.cpp "$root/platform/posix/FileHandlePosix.cpp" \
    -lz -o "$out/entry_round_trip_fuzz"

mkdir -p "$out/corpus/roundtrip"
python3 "$root/tests/fuzz/seeds.py" "$out/corpus"
cp "$root/tests/fuzz/zip.dict" "$out/"
echo "built in $out"
