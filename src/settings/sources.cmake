# The options dialog and applying the options list their sources here.
