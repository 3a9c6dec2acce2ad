[wexly2 MACRO set]
12<BOF><EOF><PGUP><PGDN>
01x
