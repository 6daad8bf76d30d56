# Plots both response tables of a Quillmere run.
#
#   gnuplot -c scripts/plot_response.gp DIR OUT.png
#
# reads DIR/Butterworth.out and DIR/Bessel.out and writes OUT.png: one column
# per family, the magnitude on a linear scale above (the shape of the
# passband, the -3 dB level marked) and in decibels below (the stopband).
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

set terminal pngcairo size 1400,1000 enhanced font "DejaVu Sans,12" linewidth 1.5
set output ARG2

set grid lc rgb "#dddddd"
set key top right box opaque
set xrange [0:5]
set xtics 0.5
set mxtics 5
set xlabel "normalised frequency ω"
set style line 1 lc rgb "#1f77b4" lw 2.5
set style line 2 lc rgb "#d62728" lw 2.5
set style line 3 lc rgb "#2ca02c" lw 2.5
set style line 9 lc rgb "#555555" lw 1.5 dt 2
minus3dB = 1 / sqrt(2)
dB(m) = 20 * log10(m)

set multiplot layout 2,2 title "Lowpass magnitude responses |H(jω)|, orders 2, 4 and 6" font ",16"

# Linear scale.
set yrange [0:1.05]
set ytics 0.1
set ylabel "magnitude (linear)"
set title "Butterworth (normalised to the -3 dB cutoff at ω = 1)"
plot minus3dB ls 9 title "-3 dB", \
     butterworth using 1:2 with lines ls 1 title "order 2", \
     "" using 1:3 with lines ls 2 title "order 4", \
     "" using 1:4 with lines ls 3 title "order 6"
set title "Bessel (delay-normalised: unit group delay at ω = 0)"
plot minus3dB ls 9 title "-3 dB", \
     bessel using 1:2 with lines ls 1 title "order 2", \
     "" using 1:3 with lines ls 2 title "order 4", \
     "" using 1:4 with lines ls 3 title "order 6"

# Decibels, the same range for both families so they can be compared.
set yrange [-90:5]
set ytics 10
set ylabel "magnitude (dB)"
set key bottom left
set title "Butterworth, in decibels"
plot dB(minus3dB) ls 9 title "-3 dB", \
     butterworth using 1:(dB($2)) with lines ls 1 title "order 2", \
     "" using 1:(dB($3)) with lines ls 2 title "order 4", \
     "" using 1:(dB($4)) with lines ls 3 title "order 6"
set title "Bessel, in decibels"
plot dB(minus3dB) ls 9 title "-3 dB", \
     bessel using 1:(dB($2)) with lines ls 1 title "order 2", \
     "" using 1:(dB($3)) with lines ls 2 title "order 4", \
     "" using 1:(dB($4)) with lines ls 3 title "order 6"

unset multiplot
