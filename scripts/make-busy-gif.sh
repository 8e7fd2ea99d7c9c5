#!/usr/bin/env bash
# Draws the busy animation data/busy.gif: twelve dots on a ring, a bright
# head with a fading tail turning one step per frame (12 frames, 80 ms each,
# each frame cleared to the background before the next). Needs ImageMagick;
# the build does not: the picture is committed.
set -euo pipefail
out="${1:-$(dirname "$0")/../data/busy.gif}"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
size=48
centre=24
radius=16
dot=3.6
for frame in $(seq 0 11); do
    args=()
    for i in $(seq 0 11); do
        # Age of dot i behind the head of this frame: 0 brightest.
        age=$(( (frame - i + 12) % 12 ))
        shade=$(( 40 + age * 17 ))
        [ $shade -gt 220 ] && shade=220
        colour=$(printf '#%02x%02x%02x' $((shade / 3)) $((90 + shade / 2)) $((200 - age * 6)))
        read -r x y < <(awk -v i="$i" -v c="$centre" -v r="$radius" \
            'BEGIN { a = i * 3.14159265 / 6; printf "%.2f %.2f\n", c + r * sin(a), c - r * cos(a) }')
        r=$(awk -v d="$dot" -v age="$age" 'BEGIN { printf "%.2f", d - age * 0.18 }')
        edge=$(awk -v x="$x" -v r="$r" 'BEGIN { printf "%.2f", x + r }')
        args+=(-fill "$colour" -draw "circle $x,$y $edge,$y")
    done
    convert -size ${size}x${size} xc:none "${args[@]}" "$tmp/frame$(printf '%02d' "$frame").png"
done
convert -delay 8 -loop 0 -dispose Background "$tmp"/frame*.png "$out"
echo "wrote $out"
