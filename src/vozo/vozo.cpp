// placeholder until the window environment lands
