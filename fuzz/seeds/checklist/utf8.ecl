Cabin
- Doors: closedé
Last line without LF