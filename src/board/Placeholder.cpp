// The board window arrives with the main-window work.
