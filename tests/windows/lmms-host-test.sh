#!/bin/sh
# lmms-host-test.sh DLL ECHO-CHECK WORK-DIR DELAY
# Renders an impulse through program 0 of the DLL in LMMS (its Wine plug-in server hosts 32-bit
# Windows plug-ins) and checks the echo DELAY frames later in both channels; then renders again
# with both tempos set from the project and checks that the echo moved to one second.
# Runs under the Wine prefix and display of run-windows-tests.sh. Exits 77 (skipped) without LMMS
# or without the Linux echo checker.
set -eu
dll=$1 echo_check=$2 work=$3 delay=$4

if ! command -v lmms >/dev/null 2>&1 || [ ! -x /usr/lib/i386-linux-gnu/lmms/RemoteVstPlugin ]; then
  echo "LMMS with its Windows plug-in server (lmms:i386, lmms-vst-server:i386) is not installed"
  exit 77
fi
if [ ! -x "$echo_check" ]; then
  echo "no echo checker at $echo_check (it comes with the Linux build)"
  exit 77
fi

rm -rf "$work"
mkdir -p "$work/home" "$work/vst" "$work/out"
cp "$dll" "$work/vst/wrenfold.dll"

# le32 N / le16 N: N as little-endian bytes.
le32() { printf "\\$(printf %03o $(($1 & 255)))\\$(printf %03o $(($1 >> 8 & 255)))\\$(printf %03o $(($1 >> 16 & 255)))\\$(printf %03o $(($1 >> 24 & 255)))"; }
le16() { printf "\\$(printf %03o $(($1 & 255)))\\$(printf %03o $(($1 >> 8 & 255)))"; }

# A 16-bit stereo file: one full-scale frame, then silence. LMMS drops a final partial block of
# 256 frames, so the length is a whole number of blocks.
frames=$((256 * 200))
{
  printf RIFF; le32 $((36 + frames * 4)); printf WAVEfmt' '; le32 16; le16 1; le16 2; le32 44100
  le32 $((44100 * 4)); le16 4; le16 16; printf data; le32 $((frames * 4))
  printf '\377\177\377\177'
  head -c $(((frames - 1) * 4)) /dev/zero
} >"$work/impulse.wav"

cat >"$work/home/.lmmsrc.xml" <<CONFIG
<?xml version="1.0"?>
<!DOCTYPE lmms-config-file>
<lmms version="1.2.2">
  <app configured="1" nommpz="1"/>
  <mixer audiodev="Dummy (no sound output)" mididev="Dummy MIDI Driver"/>
  <paths vstdir="$work/vst/" workingdir="$work/home/lmms/" artwork="" sf2dir="" gigdir="" ladspadir=""/>
</lmms>
CONFIG

# project NAME PARAMETERS: writes NAME.mmp whose sample track plays the impulse through the DLL.
project() {
  cat >"$work/$1.mmp" <<PROJECT
<?xml version="1.0"?>
<!DOCTYPE lmms-project>
<lmms-project version="1.0" creator="LMMS" creatorversion="1.2.2" type="song">
  <head bpm="120" timesig_numerator="4" timesig_denominator="4" mastervol="100" masterpitch="0"/>
  <song>
    <trackcontainer type="song">
      <track type="2" name="impulse" muted="0" solo="0">
        <sampletrack vol="100" pan="0" fxch="0">
          <fxchain enabled="1" numofeffects="1">
            <effect name="vsteffect" on="1" wet="1" autoquit="1" gate="0">
              <vsteffectcontrols plugin="wrenfold.dll" program="0" $2/>
              <key><attribute name="file" value="wrenfold.dll"/></key>
            </effect>
          </fxchain>
        </sampletrack>
        <sampletco pos="0" len="192" muted="0" src="$work/impulse.wav"/>
      </track>
    </trackcontainer>
  </song>
</lmms-project>
PROJECT
}

# render NAME: renders NAME.mmp to out/NAME.wav, bounded in time, keeping its messages.
render() {
  HOME="$work/home" timeout 120 lmms --allowroot render "$work/$1.mmp" -o "$work/out/$1.wav" -f wav -a -x 1 \
    -i linear -s 44100 >"$work/out/$1.log" 2>&1 || true
  if [ ! -s "$work/out/$1.wav" ]; then
    echo "LMMS wrote no output for $1:"
    tail -20 "$work/out/$1.log"
    return 1
  fi
}

project program0 ''
render program0
"$echo_check" "$work/out/program0.wav" "$delay"

# Both tempos at 0.0 (60 beats per minute) stretch program 0's beat-long delay to one second.
project slow 'numparams="2" param0="6:TempoL:0" param1="7:TempoR:0"'
render slow
"$echo_check" "$work/out/slow.wav" 44100
