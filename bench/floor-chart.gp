# The bar chart of bench/floor-compare.sh: the median wall-clock time of every
# command (Tessaly's in red) and its processor time.
#   gnuplot -e "data='table.dat'; out='chart.png'" bench/floor-chart.gp
set terminal pngcairo size 1100,560 font "DejaVu Sans,10"
set output out
set title "tessaly-stamp against decoding alone and the general tools (6000 x 4000 pictures)"
set style data histogram
set style histogram clustered gap 1
set style fill solid 0.85 border -1
set boxwidth 0.9
set ylabel "seconds"
set logscale y
set yrange [0.05:*]
set grid ytics
set xtics rotate by -35 left noenhanced
set key top left
set bmargin 11
set rmargin 8
plot data using ($4 == 1 ? $2 : 1/0):xtic(1) title "Tessaly, median wall" lc rgb "#c02030", \
     '' using ($4 == 0 ? $2 : 1/0) title "others, median wall" lc rgb "#4070b0", \
     '' using 3 title "processor time (user + system)" lc rgb "#b0b0b0"
