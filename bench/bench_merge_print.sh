#!/usr/bin/env bash
# The merge print job of bench_merge_print (start, open the design file with
# its merge table, print every record) side by side with its floor
# (bench_merge_floor: the same rows, our QR encoder, rectangles and text
# straight onto QPdfWriter) and with gLabels 3: the same sheet (A4, 12 labels
# of 86.4 x 42.3 mm), the same two merged text lines (9 pt and 8 pt) and
# merged QR Code (Model 2, level M, 30 mm), the same rows (as UTF-8 CSV for
# gLabels). The three run in turn, 3 rounds, pinned to the same cores
# (LX_BENCH_CPUS, default 2,3), each as a whole process; medians of wall and
# of CPU (user + system) seconds are printed with peak memory, PDF size per
# page and the ratios.
# With a default printer ours prints there, and the same job to a PDF file
# runs in turn beside it.
#
#   bash bench/bench_merge_print.sh [build folder] [records]   (1000 or 10000)
#
# LX_BENCH_GLABELS=0 leaves gLabels out (it takes minutes at 10000 records).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
records=${2:-1000}
runs=3
ours="$build/bench/bench_merge_print"
floor="$build/bench/bench_merge_floor"
for program in "$ours" "$floor"; do
    [[ -x $program ]] || { echo "build $program first" >&2; exit 1; }
done
cpus=${LX_BENCH_CPUS:-2,3}
with_glabels=${LX_BENCH_GLABELS:-1}
if [[ $with_glabels == 1 ]] && ! command -v glabels-3-batch >/dev/null; then
    if [[ $(id -u) == 0 ]]; then
        DEBIAN_FRONTEND=noninteractive apt-get install -y glabels >/dev/null
    else
        echo "glabels-3-batch is missing: apt-get install glabels" >&2
        exit 1
    fi
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The rows bench_merge_print merges: name, second line, 37-character URL.
for ((r = 1; r <= records; ++r)); do
    printf '山田太郎%05d,東京都千代田区 %05d,https://example.jp/item?id=%010d\n' "$r" "$r" "$r"
done >"$work/records.csv"

identity='a0="1" a1="0" a2="0" a3="1" a4="0" a5="0"'
span='font_family="IPAGothic" font_weight="Normal" font_italic="False" color="0x000000ff" line_spacing="1"'
cat >"$work/job.glabels" <<DOC
<?xml version="1.0"?>
<Glabels-document xmlns="http://glabels.org/xmlns/3.0/">
  <Template brand="Bench" part="12UP" size="A4" description="12 labels 86.4 x 42.3 mm">
    <Meta category="label"/>
    <Label-rectangle id="0" width="86.4mm" height="42.3mm" round="0mm" x_waste="0mm" y_waste="0mm">
      <Markup-margin size="0mm"/>
      <Layout nx="2" ny="6" x0="18.6mm" y0="21.6mm" dx="86.4mm" dy="42.3mm"/>
    </Label-rectangle>
  </Template>
  <Objects id="0" rotate="False">
    <Object-barcode x="4mm" y="6.15mm" w="30mm" h="30mm" $identity backend="libqrencode" style="IEC18004"
                    field="3" text="False" checksum="False" color="0x000000ff"/>
    <Object-text x="38mm" y="12mm" w="45mm" h="5mm" $identity justify="Left" valign="Top" auto_shrink="False">
      <Span $span font_size="9">\${1}</Span>
    </Object-text>
    <Object-text x="38mm" y="20mm" w="45mm" h="5mm" $identity justify="Left" valign="Top" auto_shrink="False">
      <Span $span font_size="8">\${2}</Span>
    </Object-text>
  </Objects>
  <Merge type="Text/Comma" src="$work/records.csv"/>
</Glabels-document>
DOC

# One run of a command on the pinned cores; appends "wall cpu peak-KiB" to $1.
run_once() {
    local log=$1
    shift
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" taskset -c "$cpus" "$@" >/dev/null 2>&1
    read -r wall user system peak <"$work/time"
    echo "$wall $(echo "$user + $system" | bc) $peak" >>"$log"
}

median() { sort -g | sed -n "$(((runs + 1) / 2))p"; }

# Prints "wall cpu peak-KiB": the medians and the largest peak of a log.
summary() {
    echo "$(cut -d' ' -f1 "$1" | median) $(cut -d' ' -f2 "$1" | median) $(cut -d' ' -f3 "$1" | sort -g | tail -1)"
}

per_page() { # bytes per page of a PDF
    local pages
    pages=$(pdfinfo "$1" | awk '/^Pages:/ {print $2}')
    echo $(($(stat -c %s "$1") / pages))
}

# With a default printer ours prints to it; the same job to a PDF file then
# runs beside it, for what the print server adds.
printer=
lpstat -d 2>/dev/null | grep -q 'system default destination:' && printer=yes

# A first run, not timed, writes the design file the timed runs open.
LX_VIRTUAL_PRINTER=1 LX_BENCH_OUT="$work" "$ours" --benchmark_filter="BM_MergePrint/$records/" >/dev/null 2>&1

for ((i = 0; i < runs; ++i)); do
    LX_BENCH_OUT="$work" run_once "$work/ours.log" "$ours" --benchmark_filter="BM_MergePrint/$records/"
    [[ -n $printer ]] && LX_VIRTUAL_PRINTER=1 LX_BENCH_OUT="$work" \
        run_once "$work/pdf.log" "$ours" --benchmark_filter="BM_MergePrint/$records/"
    LX_BENCH_OUT="$work" run_once "$work/floor.log" "$floor" --benchmark_filter="BM_MergeFloor/$records/"
    [[ $with_glabels == 1 ]] && run_once "$work/glabels.log" glabels-3-batch -o "$work/glabels.pdf" "$work/job.glabels"
done
read -r ours_s ours_cpu ours_kib < <(summary "$work/ours.log")
read -r floor_s floor_cpu floor_kib < <(summary "$work/floor.log")

printf '%-8s %8s %8s %10s %12s\n' "" "wall s" "CPU s" "peak MiB" "PDF B/page"
printf '%-8s %8s %8s %10d %12s\n' ours "$ours_s" "$ours_cpu" $((ours_kib / 1024)) \
    "$( [[ -f $work/merge-$records.pdf ]] && per_page "$work/merge-$records.pdf" || echo printer)"
printf '%-8s %8s %8s %10d %12s\n' floor "$floor_s" "$floor_cpu" $((floor_kib / 1024)) \
    "$(per_page "$work/floor-$records.pdf")"
echo "records: $records, medians of $runs on cores $cpus"
echo "ours / floor: $(echo "scale=2; $ours_s / $floor_s" | bc)x wall, $(echo "scale=2; $ours_cpu / $floor_cpu" | bc)x CPU"
if [[ $with_glabels == 1 ]]; then
    read -r theirs_s theirs_cpu theirs_kib < <(summary "$work/glabels.log")
    printf '%-8s %8s %8s %10d %12s\n' gLabels "$theirs_s" "$theirs_cpu" $((theirs_kib / 1024)) "$(per_page "$work/glabels.pdf")"
    echo "gLabels / ours: $(echo "scale=2; $theirs_s / $ours_s" | bc)x wall, $(echo "scale=2; $theirs_cpu / $ours_cpu" | bc)x CPU"
fi
if [[ -n $printer ]]; then
    read -r pdf_s pdf_cpu _ < <(summary "$work/pdf.log")
    echo "ours to PDF: $pdf_s s wall, $pdf_cpu s CPU"
    echo "printer / PDF: $(echo "scale=2; $ours_s / $pdf_s" | bc)x wall, $(echo "scale=2; $ours_cpu / $pdf_cpu" | bc)x CPU"
fi
if [[ -n ${KEEP_PDF:-} ]]; then
    cp "$work"/merge-"$records".pdf "$work"/floor-"$records".pdf "$work"/glabels.pdf "$KEEP_PDF"/ 2>/dev/null || true
fi
