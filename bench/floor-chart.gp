# The bar chart of bench/floor-compare.sh: for every command its median
# wall-clock time (Tessaly's in red, the others' in blue) and beside it its
# processor time, user + system.
#   gnuplot -e "data='table.dat'; out='chart.png'; subtitle='...'" bench/floor-chart.gp
set terminal pngcairo size 1100,560 font "DejaVu Sans,10"
set output out
set title "tessaly-stamp against decoding alone and the general tools (6000 x 4000 pictures)\n".subtitle noenhanced
set style fill solid 0.85 border -1
set ylabel "seconds (logarithmic)"
set logscale y
set yrange [0.05:*]
set offsets 0.7, 0.7, 0, 0
set grid ytics
set xtics rotate by -35 left noenhanced
set key top left
set bmargin 11
set rmargin 8
plot data using ($0 - 0.2):2:(0.4):($4 == 1 ? 0xc02030 : 0x4070b0):xtic(1) \
         with boxes lc rgb variable notitle, \
     '' using ($0 + 0.2):3:(0.4) with boxes lc rgb "#b0b0b0" title "processor time, user + system", \
     NaN with boxes lc rgb "#c02030" title "Tessaly, median wall", \
     NaN with boxes lc rgb "#4070b0" title "others, median wall"
