#!/bin/sh
# Regenerates all pictures from tools/artwork:
#   assets/art/*.png                           the drawn sources (palette-exact PNG)
#   assets/SDCARD/SPLASH.MIF, INFOPAGE/*.MIF   the sample card's pictures
#   src/firmware/gfx/icons_generated/pictures.cpp   the embedded pictures
# Usage, from anywhere: tools/artwork/make_art.sh [BUILD_DIR]
# BUILD_DIR (default build-art) must be configured with -DEMS_TOOLS=ON.
set -eu
cd "$(dirname "$0")/../.."
build=${1:-build-art}
cmake --build "$build" --target artwork png2mif embedimg

"$build/tools/artwork/artwork" assets/art

png2mif="$build/tools/png2mif/png2mif"
mifs="$build/art-mif"
mkdir -p "$mifs" assets/SDCARD/INFOPAGE
"$png2mif" --strict assets/art/SPLASH.png assets/SDCARD/SPLASH.MIF
for page in VSPEEDS ENGFAIL RADIO; do
    "$png2mif" --strict "assets/art/$page.png" "assets/SDCARD/INFOPAGE/$page.MIF"
done

set --
for name in icon_attention icon_question icon_flight_log icon_ems_setup icon_gps_setup \
    icon_timers_setup icon_data_rec_setup icon_misc_setup icon_fuel_setup icon_map_setup \
    icon_oil_setup icon_temperature_setup icon_analog_setup icon_electrical_setup \
    icon_ecu_setup picture_engine_computer; do
    "$png2mif" --strict "assets/art/$name.png" "$mifs/$name.mif"
    set -- "$@" "$name=$mifs/$name.mif"
done
"$build/tools/embedimg/embedimg" src/firmware/gfx/icons_generated/pictures.cpp "$@"
echo "pictures.cpp written"
