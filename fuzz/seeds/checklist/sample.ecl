FUEL VALVE ................. OPEN, FULLEST TANK
ELECTRIC FUEL PUMP ......... ON
CARB HEAT .................. AS REQUIRED
HARNESSES .................. TIGHT
LANDING LIGHT .............. ON
AIRSPEED ................... BELOW 80 KT (VFE)
FLAPS ...................... AS REQUIRED
APPROACH SPEED ............. 60 KT
TRIM ....................... SET
BRAKES ..................... CHECK PRESSURE
AFTER LANDING
FLAPS ...................... UP
ELECTRIC FUEL PUMP ......... OFF
TRANSPONDER ................ STANDBY
SAMPLE - USE YOUR AIRCRAFT'S CHECKLIST
