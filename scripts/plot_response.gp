# Plots both response tables of a Quillmere run as Bode magnitude plots.
#
#   gnuplot -c scripts/plot_response.gp DIR OUT.png
#
# reads DIR/Butterworth.out and DIR/Bessel.out and writes OUT.png: one panel
# per family, the magnitude in decibels against the normalised frequency on
# a logarithmic axis (0.01 to 5; the point at 0 has no place on it), the
# three orders told apart by colour and dash, the -3 dB level drawn and
# labelled. Each family has the decibel range its curves use.
if (ARGC < 2) {
  print "usage: gnuplot -c plot_response.gp DIR OUT.png"
  exit status 2
}
dir = ARG1
butterworth = dir . "/Butterworth.out"
bessel = dir . "/Bessel.out"

# Both tables must be there and hold 500 records: a missing one is an error,
# not an empty panel (plot alone would only warn).
do for [table in "Butterworth.out Bessel.out"] {
  undefine STATS_*
  stats dir . "/" . table using 1 nooutput
  if (!exists("STATS_records") || STATS_records != 500) {
    print dir . "/" . table . ": cannot read 500 records"
    exit status 1
  }
}

set terminal pngcairo size 1400,700 enhanced font "DejaVu Sans,13" linewidth 1.5
set output ARG2

dB(m) = 20 * log10(m)
minus3dB = dB(1 / sqrt(2))  # -3.01 dB

set logscale x
set xrange [0.01:5]
set format x "%g"
set xtics ("0.01" 0.01, "0.02" 0.02, "0.05" 0.05, "0.1" 0.1, "0.2" 0.2, "0.5" 0.5, \
           "1" 1, "2" 2, "5" 5)
set mxtics 10
set grid xtics mxtics ytics lc rgb "#d8d8d8", lc rgb "#eeeeee"
set xlabel "normalised frequency ω (logarithmic scale)"
set ylabel "magnitude |H(jω)| (dB)"
set key bottom left box opaque width 1

# Orders 2, 4, 6: a colour and a dash each, so that they stay apart in grey.
set style line 1 lc rgb "#1f77b4" lw 2.5 dt 1
set style line 2 lc rgb "#d62728" lw 2.5 dt (10, 4)
set style line 3 lc rgb "#2ca02c" lw 2.5 dt (3, 3)
set style line 9 lc rgb "#000000" lw 1.5 dt (6, 3, 2, 3)
set label 9 "−3 dB" at graph 0.985, first minus3dB offset 0, 0.8 right textcolor rgb "#000000"

set multiplot layout 1,2 title "Lowpass magnitude responses, orders 2, 4 and 6" font ",16"

set title "Butterworth: −3 dB at ω = 1 for every order"
set yrange [-90:5]
set ytics 10
set arrow 1 from 1, graph 0 to 1, graph 1 nohead lc rgb "#888888" dt 3
plot minus3dB ls 9 notitle, \
     butterworth using 1:(dB($2)) with lines ls 1 title "order 2", \
     "" using 1:(dB($3)) with lines ls 2 title "order 4", \
     "" using 1:(dB($4)) with lines ls 3 title "order 6"
unset arrow 1

set title "Bessel, delay-normalised: −3 dB beyond ω = 1"
set yrange [-20:2]
set ytics 2
plot minus3dB ls 9 notitle, \
     bessel using 1:(dB($2)) with lines ls 1 title "order 2", \
     "" using 1:(dB($3)) with lines ls 2 title "order 4", \
     "" using 1:(dB($4)) with lines ls 3 title "order 6"

unset multiplot
