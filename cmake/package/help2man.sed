# The tools write "usage:" with each further form aligned below it, and "options:"; help2man
# reads the synopsis from "Usage:" and "or:" lines and the options from an "Options:" section.
s/^usage: /Usage: /
/^Usage: /,/^$/s/^       \([^ ]\)/   or: \1/
s/^options:$/Options:/
