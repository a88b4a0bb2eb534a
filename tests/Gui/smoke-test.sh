#!/usr/bin/env bash
# Starts the program on a copy of the application folder on the virtual display, waits for its window, takes
# a screenshot, quits with Ctrl+Q and checks the exit code and the settings file.
# The media tab opens on a copy of the examples, so the picture shows their list and a parameter form; the SMS
# tab, brought up by Ctrl+G, lists the e-cards and media of the same copy.
# Then the screen tour on the same display keeps pictures of the media tab with the MSEQ form (and the whole
# form), the media tab during a conversion with its progress text, the iMelody form after Tab left its tempo, the
# SMS tab with a translator's form, the batch tab with every converter checked and the animation resize dialog on
# a 300 x 200 animation, all at 800 x 600 (PNG pictures in the work folder), and checks their layout.
# Usage: smoke-test.sh PROGRAM APP_FOLDER GRAB_SCREEN WORK_FOLDER EXAMPLES_FOLDER [TOUR_TESTS]
set -u
program=$1 app=$2 grab=$3 work=$4 examples=$5 tour=${6:-}
rm -rf "$work"
mkdir -p "$work"
cp -r "$app" "$work/app"
cp -r "$examples" "$work/examples"
cat > "$work/app/Settings.xml" <<EOF
<OrvaneMainWindowSettings Window_Pos_X="0" Window_Pos_Y="0" Window_Size_X="800" Window_Size_Y="600"
 Media_Input_Path="$work/examples" Media_Output_Path="$work" SMS_Input_Path="$work/examples" SMS_Output_Path="$work"
 Warning_enabled="true" Resize_enabled="false"/>
EOF
cd "$work" || exit 1

ORVANEDIR="$work/app" "$program" "/logfile=$work/run.log" &
pid=$!
window=""
for _ in $(seq 1 100); do
    window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
done
if [ -z "$window" ]; then
    echo "no window appeared"
    kill "$pid" 2>/dev/null
    exit 1
fi
# Let the window paint itself before the picture is taken.
sleep 1
"$grab" "$work/screenshot.png"
grabbed=$?
# There is no window manager here: focus the window directly, then send the keys.
xdotool windowfocus --sync "$window"
# Ctrl+L brings up the batch tab (with nothing selected, the launch does nothing).
xdotool key --clearmodifiers ctrl+l
sleep 1
"$grab" "$work/batch.png"
batchGrabbed=$?
xdotool windowfocus --sync "$window"
# Ctrl+G brings up the SMS tab; with no file chosen it generates nothing.
xdotool key --clearmodifiers ctrl+g
sleep 1
"$grab" "$work/screenshot-sms.png" || { echo "the SMS tab is blank"; kill "$pid"; exit 1; }
xdotool key --clearmodifiers ctrl+q
for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    echo "the program did not quit on Ctrl+Q"
    kill "$pid"
    exit 1
fi
wait "$pid"
code=$?
echo "screenshot: $work/screenshot.png (grab result $grabbed), exit code $code"
[ "$grabbed" -eq 0 ] || { echo "the screen is blank"; exit 1; }
echo "batch tab: $work/batch.png (grab result $batchGrabbed)"
[ "$batchGrabbed" -eq 0 ] || { echo "the batch tab's screen is blank"; exit 1; }
[ "$code" -eq 0 ] || { echo "the program ended with $code"; exit 1; }
grep -q "OrvaneMainWindowSettings" "$work/app/Settings.xml" || { echo "no settings written"; exit 1; }
grep -q 'Window_Size_X="800"' "$work/app/Settings.xml" || { echo "unexpected settings"; cat "$work/app/Settings.xml"; exit 1; }
grep -q "Media_Input_Path=\"$work/examples\"" "$work/app/Settings.xml" || { echo "the media folder was not kept"; cat "$work/app/Settings.xml"; exit 1; }
if [ -n "$tour" ]; then
    ORV_SCREENSHOTS="$work" "$tour" --gtest_filter='ScreenTourTest.*' >"$work/tour.log" 2>&1 || { cat "$work/tour.log"; echo "the screen tour failed"; exit 1; }
    for shot in media-mseq media-mseq-form media-converting media-form-tab sms-translator batch-all-converters animation-dialog; do
        [ -s "$work/$shot.png" ] || { echo "no picture $shot.png"; exit 1; }
        echo "tour: $work/$shot.png"
    done
fi
echo "ok"
