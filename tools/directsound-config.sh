# Settings of the host program that play DirectSound's first device at 44.1 kHz on both outputs.
# Sourced by tools/run.sh, the host benchmarks and the quit recording test.

# Writes the settings file: path [block size in frames; none keeps the driver's own]. The device is
# the one Wine names "Primary Sound Driver"; QZ_DS_DEVICE names another.
write_directsound_config() {
  local device=${QZ_DS_DEVICE:-Primary Sound Driver}
  local size=""
  [ -n "${2:-}" ] && size=" BufferSize=\"$2\""
  cat >"$1" <<CFG
<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Configuration>
  <Drivers AudioDriver="$device" AudioSystem="DirectSound">
    <DriverInfo>
      <AudioSystem Name="DirectSound">
        <Driver$size Name="$device" SampleRate="44100">
          <Output>
            <Config Channels="0; 1" Name="Stereo Output"/>
          </Output>
        </Driver>
      </AudioSystem>
    </DriverInfo>
  </Drivers>
</Configuration>
CFG
}
