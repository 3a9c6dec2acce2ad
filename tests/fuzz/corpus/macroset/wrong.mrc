[Wexly2 Macro]
01a
