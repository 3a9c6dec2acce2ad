[Wexly2 Macro Set]
05a
05b
5c
xyz

