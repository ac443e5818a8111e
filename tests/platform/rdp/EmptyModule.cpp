// Deliberately empty: a loadable module that lacks every entry point of the control's module.
